#include <QApplication>
#include <QTest>
#include <functional>
#include <utility>

#include "runfile/ExecuteFileRunFixture.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;
using ExecuteFileRunHistory = ExecuteFileRunFixture;

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.push_back(box->itemText(i));
    }
    return items;
}

TEST_F(ExecuteFileRunHistory, ListsHoldTheHistoriesOldestFirstAndTheFieldsStartEmpty) {
    WriteFileBytes(PathHistory(), "\xEF\xBB\xBF/opt/b/run\r\n/opt/a/run\n\r/opt/c/run\r");
    WriteFileBytes(DirectoryHistory(), "/srv/work \r\n/tmp");
    TExecuteFileRun& d = Open();
    EXPECT_EQ(Items(d.ExecuteFilePath), QStringList({u"/opt/b/run"_s, u"/opt/a/run"_s, QString(), u"/opt/c/run"_s}));
    EXPECT_EQ(Items(d.CurrentDirectory), QStringList({u"/srv/work "_s, u"/tmp"_s}));
    EXPECT_EQ(d.ExecuteFilePath->currentText(), QString());
    EXPECT_EQ(d.CurrentDirectory->currentText(), QString());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ExecuteFileRunHistory, AnUnreadableHistoryIsReportedAndSkipsTheRestOfTheCreation) {
    struct Case {
        const char* name;
        bool pathHistoryReads;
        QStringList pathItems;
    };
    const Case cases[] = {
        {"path history fails", false, {}},
        {"directory history fails", true, {u"/opt/a/run"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings("[Start]\nWindowTopShow=1\n");
        // Bytes that are not UTF-8 make the history unreadable.
        WriteFileBytes(PathHistory(), c.pathHistoryReads ? "/opt/a/run" : "/opt/\xFF/run");
        WriteFileBytes(DirectoryHistory(), c.pathHistoryReads ? "/srv/\xFF" : "/srv");
        desktop.boxes.clear();
        TExecuteFileRun& d = Open();
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].flags, mb::kIconError);
        EXPECT_EQ(desktop.boxes[0].parent, &owner);
        EXPECT_TRUE(desktop.boxes[0].text.endsWith(u'.')) << desktop.boxes[0].text.toStdString();
        EXPECT_EQ(Items(d.ExecuteFilePath), c.pathItems);
        EXPECT_EQ(d.CurrentDirectory->count(), 0);
        EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(d.WindowSize->currentIndex(), 1);
    }
}

TEST_F(ExecuteFileRunHistory, TypingCompletesFromTheFirstEntryThatBeginsWithTheTypedLetters) {
    WriteFileBytes(PathHistory(), "/opt/Tools/run\r\n/opt/tools/build\r\n/usr/bin/ls\r\n/usr/bin/lsblk");
    TExecuteFileRun& d = Open();
    struct Case {
        const char* typed;
        const char* text;
        const char* selected;
    };
    // File names here tell letter case apart: an entry in other case names another file.
    const Case cases[] = {
        {"/opt/T", "/opt/Tools/run", "ools/run"},
        {"/opt/t", "/opt/tools/build", "ools/build"},
        {"/OPT/TOOLS/B", "/OPT/TOOLS/B", ""},
        {"/usr/bin/ls", "/usr/bin/ls", ""},  // the first match is complete: the longer entry is not offered
        {"/usr/bin/lsb", "/usr/bin/lsblk", "lk"},
        {"/srv", "/srv", ""},
    };
    QLineEdit* edit = d.ExecuteFilePath->lineEdit();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        d.ExecuteFilePath->clearEditText();
        QTest::keyClicks(d.ExecuteFilePath, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(edit->selectedText(), QString::fromUtf8(c.selected));
    }

    // Deleting removes the offered remainder and does not bring it back; typing again does.
    d.ExecuteFilePath->clearEditText();
    QTest::keyClicks(d.ExecuteFilePath, u"/usr/bin/lsb"_s);
    QTest::keyClick(d.ExecuteFilePath, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), u"/usr/bin/lsb"_s);
    QTest::keyClick(d.ExecuteFilePath, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), u"/usr/bin/ls"_s);
    QTest::keyClicks(d.ExecuteFilePath, u"b"_s);
    EXPECT_EQ(edit->text(), u"/usr/bin/lsblk"_s);
    // Typing inside the text completes nothing.
    edit->setText(u"/opt/x"_s);
    edit->setCursorPosition(5);
    QTest::keyClicks(d.ExecuteFilePath, u"T"_s);
    EXPECT_EQ(edit->text(), u"/opt/Tx"_s);
}

TEST_F(ExecuteFileRunHistory, UndoTakesBackTheCompletionThenTheTyping) {
    WriteFileBytes(PathHistory(), "/opt/Tools/run");
    TExecuteFileRun& d = Open();
    QLineEdit* edit = d.ExecuteFilePath->lineEdit();
    d.ExecuteFilePath->setEditText(u"/opt/"_s);
    QTest::keyClicks(d.ExecuteFilePath, u"T"_s);
    ASSERT_EQ(edit->text(), u"/opt/Tools/run"_s);
    const QString afterEachUndo[] = {u"/opt/T"_s, u"/opt/"_s};
    for (const QString& text : afterEachUndo) {
        QTest::keyClick(d.ExecuteFilePath, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), text);
        EXPECT_EQ(edit->cursorPosition(), text.size());
    }
    // Redo brings the letter back, then the completion.
    const QString afterEachRedo[] = {u"/opt/T"_s, u"/opt/Tools/run"_s};
    for (const QString& text : afterEachRedo) {
        QTest::keyClick(d.ExecuteFilePath, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), text);
    }
}

TEST_F(ExecuteFileRunHistory, TypedTextStaysAsTypedAndTheListNeverGrows) {
    WriteFileBytes(PathHistory(), "/opt/tools/build");
    TExecuteFileRun& d = Open();
    owner.show();
    d.show();
    QApplication::setActiveWindow(&d);
    d.ExecuteFilePath->setFocus();
    QTest::keyClicks(d.ExecuteFilePath, u"/OPT/TOOLS/BUILD"_s);
    EXPECT_EQ(d.ExecuteFilePath->currentText(), u"/OPT/TOOLS/BUILD"_s);
    // Leaving the field must not swap in the entry that differs only in letter case.
    d.CommandLine->setFocus();
    EXPECT_EQ(d.ExecuteFilePath->currentText(), u"/OPT/TOOLS/BUILD"_s);

    // Enter in the field is OK: the path is refused, and the list has not taken the text.
    d.ExecuteFilePath->setFocus();
    QTest::keyClick(d.ExecuteFilePath, Qt::Key_Return);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, u"\"/OPT/TOOLS/BUILD\"が見つかりません。"_s);
    EXPECT_EQ(d.ExecuteFilePath->currentText(), u"/OPT/TOOLS/BUILD"_s);
    EXPECT_EQ(Items(d.ExecuteFilePath), QStringList({u"/opt/tools/build"_s}));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(ExecuteFileRunHistory, OkAppendsThePathAndANonEmptyDirectoryExactlyAsTyped) {
    const std::string other = (dir / "bin" / "other.sh").string();
    WriteFileBytes(other, "#!/bin/sh\n");
    struct Run {
        QString path;
        QString directory;
        std::string pathHistory;
        std::string directoryHistory;  // "-" for no file
    };
    const std::string program = Program().string();
    const Run runs[] = {
        {ProgramText(), QString(), program, "-"},
        {ProgramText(), u" /srv/work dir\\ "_s, program, " /srv/work dir\\ "},
        {QString::fromStdString(other), u"/srv"_s, program + "\r\n" + other, " /srv/work dir\\ \r\n/srv"},
        {ProgramText(), u"/SRV"_s, program + "\r\n" + other, " /srv/work dir\\ \r\n/srv\r\n/SRV"},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.directory.toStdString());
        TExecuteFileRun& d = Open();
        d.show();
        d.ExecuteFilePath->setEditText(run.path);
        d.CurrentDirectory->setEditText(run.directory);
        d.OK->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(ReadFileBytes(PathHistory()), run.pathHistory);
        if (run.directoryHistory == "-") {
            EXPECT_FALSE(std::filesystem::exists(DirectoryHistory()));
        } else {
            EXPECT_EQ(ReadFileBytes(DirectoryHistory()), run.directoryHistory);
        }
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ExecuteFileRunHistory, CancelEscAndTheCloseBoxWriteNothing) {
    const std::pair<const char*, std::function<void(TExecuteFileRun&)>> ways[] = {
        {"Cancel", [](TExecuteFileRun& d) { d.Cancel->click(); }},
        {"Esc", [](TExecuteFileRun& d) { QTest::keyClick(d.CurrentDirectory, Qt::Key_Escape); }},
        {"close box", [](TExecuteFileRun& d) { d.close(); }},
    };
    for (const auto& [name, dismiss] : ways) {
        SCOPED_TRACE(name);
        TExecuteFileRun& d = Open();
        d.show();
        d.ExecuteFilePath->setEditText(ProgramText());
        d.CurrentDirectory->setEditText(u"/srv"_s);
        dismiss(d);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_FALSE(d.isVisible());
    }
    EXPECT_FALSE(std::filesystem::exists(PathHistory()));
    EXPECT_FALSE(std::filesystem::exists(DirectoryHistory()));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ExecuteFileRunHistory, AFailedHistoryWriteIsReportedAndTheDialogStillCloses) {
    // A folder where the path history belongs makes its write fail.
    std::filesystem::create_directory(PathHistory());
    TExecuteFileRun& d = Open();
    d.show();
    d.ExecuteFilePath->setEditText(ProgramText());
    d.CurrentDirectory->setEditText(u"/srv"_s);
    d.OK->click();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].flags, mb::kIconError);
    EXPECT_EQ(desktop.boxes[0].parent, &d);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(std::filesystem::exists(DirectoryHistory()));
}

}  // namespace
}  // namespace nagitori::test
