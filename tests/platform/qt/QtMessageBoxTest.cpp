#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTest>

#include "common/Messages.h"
#include "platform/Desktop.h"
#include "platform/qt/QtMessageBox.h"

namespace nagitori {
namespace {

constexpr auto kNone = QMessageBox::NoButton;

TEST(QtMessageBox, SetsUpEachFlagCombinationAsWindowsShowsIt) {
    struct Case {
        unsigned flags;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton escapeButton;
        bool onTop;
    };
    const Case cases[] = {
        {0, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, false},
        {16, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, false},
        {36, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, kNone, false},
        {48, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, false},
        {292, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, kNone, false},
        {305, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Cancel,
         false},
        {262160, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, true},
        // Information icon, OK/Cancel with the first button as default.
        {0x41, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel,
         false},
        // A second default button on a one-button box keeps the first.
        {0x100, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const auto box = BuildMessageBox(nullptr, QStringLiteral("本文"), c.flags);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8(messages::kApplicationTitle));
        EXPECT_EQ(box->text(), QStringLiteral("本文"));
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->standardButtons(), c.buttons);
        EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
        if (c.escapeButton == kNone) {
            EXPECT_EQ(box->escapeButton(), nullptr);
        } else {
            EXPECT_EQ(box->escapeButton(), box->button(c.escapeButton));
        }
        EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.onTop);
    }
}

TEST(QtMessageBox, ShowsMarkupAsPlainText) {
    const auto box = BuildMessageBox(nullptr, QStringLiteral("<b>C:\\a&b</b>"), 16);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(QtMessageBox, AnswersTheButtonPressedAndEscAsWindowsDoes) {
    struct Case {
        unsigned flags;
        QMessageBox::StandardButton pressed;  // NoButton: the user presses Esc
        int answer;
    };
    const Case cases[] = {
        {0, kNone, kIdOk},
        {0, QMessageBox::Ok, kIdOk},
        {305, kNone, kIdCancel},
        {305, QMessageBox::Ok, kIdOk},
        {305, QMessageBox::Cancel, kIdCancel},
        {292, QMessageBox::Yes, kIdYes},
        {36, QMessageBox::No, kIdNo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flags << " " << c.pressed);
        const auto box = BuildMessageBox(nullptr, QStringLiteral("本文"), c.flags);
        box->show();
        if (c.pressed == kNone) {
            QTest::keyClick(box.get(), Qt::Key_Escape);
        } else {
            box->button(c.pressed)->click();
        }
        EXPECT_FALSE(box->isVisible());
        EXPECT_EQ(AnswerOf(*box), c.answer);
    }
}

TEST(QtMessageBox, YesNoBoxRefusesEscAndTheUsersCloseButNotTheProgramsClose) {
    for (unsigned flags : {36u, 292u}) {
        SCOPED_TRACE(flags);
        const auto box = BuildMessageBox(nullptr, QStringLiteral("削除しますか？"), flags);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        EXPECT_TRUE(box->isVisible());

        QCloseEvent fromWindowManager;
        QSpontaneKeyEvent::setSpontaneous(&fromWindowManager);
        qApp->notify(box.get(), &fromWindowManager);  // sendEvent would clear the spontaneous mark
        EXPECT_FALSE(fromWindowManager.isAccepted());
        EXPECT_EQ(box->clickedButton(), nullptr);

        // Quitting the application closes every window: the box gives way with the harmless answer.
        EXPECT_TRUE(box->close());
        EXPECT_EQ(AnswerOf(*box), kIdNo);
    }
}

}  // namespace
}  // namespace nagitori
