#include "system/VersionInformationDialog.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTextFragment>

#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"

namespace nagitori {
namespace {

using test::FakeDesktop;
using test::FakeSystem;

// The site label's text as shown, and the address of its one link.
struct LinkText {
    QString shown;
    QString address;
};
LinkText ReadLink(const QLabel& label) {
    QTextDocument document;
    document.setHtml(label.text());
    LinkText link{document.toPlainText(), {}};
    for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isAnchor()) {
            link.address = it.fragment().charFormat().anchorHref();
        }
    }
    return link;
}

class VersionInformationTest : public ::testing::Test {
protected:
    VersionInformationTest() { owner.setGeometry(200, 150, 661, 404); }

    // Shows the dialog over its owner, active, as the modal run does.
    void Show(TVersionInformation& dialog) {
        owner.show();
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    FakeSystem system;
    FakeDesktop desktop;
    QWidget owner;
};

TEST_F(VersionInformationTest, ControlsCaptionsAndGeometry) {
    system.executable = "/opt/ナギトリ & \"<x>\"/nagitori";
    TVersionInformation dialog(system, desktop, &owner);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("VersionInformation"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(dialog.size(), QSize(291, 103));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog.parentWidget(), &owner);

    EXPECT_EQ(dialog.Panel1->geometry(), QRect(8, 8, 57, 55));
    EXPECT_EQ(dialog.Panel1->frameShape(), QFrame::Box);
    EXPECT_EQ(dialog.Image1->parentWidget(), dialog.Panel1);
    EXPECT_EQ(dialog.Image1->geometry().center(), dialog.Panel1->contentsRect().center());
    EXPECT_EQ(dialog.Image1->alignment(), Qt::AlignCenter);
    EXPECT_EQ(dialog.Image1->pixmap().deviceIndependentSize(), QSizeF(48, 48));

    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("ナギトリ Version 13.1"));
    EXPECT_FALSE(dialog.Label2->text().isEmpty());
    const LinkText link = ReadLink(*dialog.site);
    EXPECT_EQ(link.shown, QStringLiteral(" 作者のサイトにアクセス "));
    EXPECT_EQ(link.address.toStdString(), (system.executable.parent_path() / "readme.txt").string());
    EXPECT_FALSE(dialog.site->openExternalLinks());

    EXPECT_EQ(dialog.OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.OK->geometry(), QRect(8, 70, 275, 25));
    EXPECT_TRUE(dialog.OK->isDefault());

    // The three lines of text fit beside the panel and above the button.
    for (const QLabel* label : {dialog.Label1, dialog.Label2, dialog.site}) {
        EXPECT_GT(label->x(), dialog.Panel1->geometry().right()) << label->objectName().toStdString();
        EXPECT_LE(label->geometry().right(), 290) << label->objectName().toStdString();
        EXPECT_LE(label->geometry().bottom(), dialog.OK->y()) << label->objectName().toStdString();
    }
    EXPECT_LE(dialog.Label1->geometry().bottom(), dialog.Label2->y());
    EXPECT_LE(dialog.Label2->geometry().bottom(), dialog.site->y());
}

TEST_F(VersionInformationTest, FocusStartsOnOkAndTabReachesTheLink) {
    TVersionInformation dialog(system, desktop, &owner);
    Show(dialog);
    EXPECT_EQ(QApplication::focusWidget(), dialog.OK);
    EXPECT_EQ(dialog.site->nextInFocusChain(), dialog.OK);
    QTest::keyClick(dialog.OK, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), dialog.site);
    // The link is reachable without a mouse.
    QTest::keyClick(dialog.site, Qt::Key_Return);
    ASSERT_EQ(system.launches.size(), 1u);
    EXPECT_EQ(QString::fromStdString(system.launches[0].target), ReadLink(*dialog.site).address);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.site, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.OK);
    QTest::keyClick(dialog.OK, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.site);
    QTest::keyClick(dialog.site, Qt::Key_Enter);
    EXPECT_EQ(system.launches.size(), 2u);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(VersionInformationTest, LinkClickOpensTheAddressAndTheDialogStaysOpen) {
    TVersionInformation dialog(system, desktop, &owner);
    Show(dialog);
    const QString address = ReadLink(*dialog.site).address;
    system.shellResult = kShellNoAssociation;
    QTest::mouseClick(dialog.site, Qt::LeftButton, {}, dialog.site->rect().center());

    ASSERT_EQ(system.launches.size(), 1u);
    const LaunchRequest& request = system.launches[0];
    EXPECT_EQ(request.verb, "");
    EXPECT_EQ(request.target, address.toStdString());
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.directory, "");
    EXPECT_EQ(request.showCommand, 1);
    EXPECT_EQ(request.parent, static_cast<std::uintptr_t>(dialog.winId()));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(desktop.boxes.empty());

    // A launch that raises is swallowed too: nothing may escape into the event loop.
    system.shellThrows = true;
    dialog.siteLinkClick(address);
    EXPECT_EQ(system.launches.size(), 2u);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(VersionInformationTest, EnterAndEscCloseWithOk) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        TVersionInformation dialog(system, desktop, &owner);
        Show(dialog);
        dialog.setResult(QDialog::Rejected);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(dialog.isVisible()) << key;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << key;
    }
}

TEST_F(VersionInformationTest, ShownModallyOverItsOwnerAndDestroyed) {
    owner.show();
    QPointer<QDialog> shown;
    desktop.modalScripts.push_back([&](QDialog& dialog) {
        shown = &dialog;
        EXPECT_EQ(dialog.parentWidget(), &owner);
        // Centred, give or take the rounding of an odd size.
        EXPECT_LE((dialog.geometry().center() - owner.geometry().center()).manhattanLength(), 1);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    ShowVersionInformation(system, desktop, &owner);
    EXPECT_EQ(desktop.modalDialogs, std::vector<QString>{QStringLiteral("VersionInformation")});
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(system.launches.empty());
}

}  // namespace
}  // namespace nagitori
