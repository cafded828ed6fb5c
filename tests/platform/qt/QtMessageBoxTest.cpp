#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTextLayout>
#include <algorithm>

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

// The last line of each paragraph of the label's text, wrapped at the label's width as the label draws it.
QStringList LastLinesOfWrappedParagraphs(const QLabel& label) {
    QStringList lastLines;
    for (const QString& paragraph : label.text().split(QRegularExpression(QStringLiteral("\r\n|\n")))) {
        QTextLayout layout(paragraph, label.font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine last;
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine(), ++lines) {
            line.setLineWidth(label.contentsRect().width());
            last = line;
        }
        layout.endLayout();
        if (lines > 1) {
            lastLines.push_back(paragraph.mid(last.textStart(), last.textLength()));
        }
    }
    return lastLines;
}

// Japanese breaks between any two characters; a box as wide as Qt makes it left "か?" alone on the last line.
TEST(QtMessageBox, WrappedTextNeverEndsInALoneCharacter) {
    QStringList texts = {
        QStringLiteral("実行ファイルを指定して起動ダイアログのファイルパスの入力履歴を削除しますか?"),
        QStringLiteral("実行ファイルを指定して起動ダイアログのカレントディレクトリの入力履歴を削除しますか?"),
        QStringLiteral("ナギトリの設定を初期化しますか?\r\n※ランチャーの設定は初期化されません。"),
        QStringLiteral(
            "リソース モニター: "
            "このシステムには対応するプログラムがありません。次のいずれかをインストールしてください: "
            "gnome-system-monitor, plasma-systemmonitor, xfce4-taskmanager, qps, mate-system-monitor, lxtask"),
    };
    // Every length a line break can fall at, for both kinds of ending.
    for (int length = 20; length < 120; ++length) {
        texts.push_back(QString(length, u'あ') + QStringLiteral("か?"));
        texts.push_back(QString(length, u'ア') + QStringLiteral("ません。"));
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const auto box = BuildMessageBox(nullptr, text, mb::kYesNo | mb::kIconQuestion);
        box->show();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        for (const QString& last : LastLinesOfWrappedParagraphs(*label)) {
            const auto letters = std::count_if(last.begin(), last.end(), [](QChar c) { return !c.isPunct(); });
            EXPECT_GE(letters, 2) << "last line \"" << last.toStdString() << "\" at " << label->contentsRect().width();
        }
        EXPECT_TRUE(screen.contains(box->frameGeometry()));
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
