#include <QApplication>
#include <optional>

#include "runfile/ExecuteFileRunFixture.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;
using ExecuteFileRunInput = ExecuteFileRunFixture;

// Changes the process's current folder until the end of the scope.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path previous_;
};

// Sets an environment variable until the end of the scope.
class Environment {
public:
    Environment(const char* name, const std::string& value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) {
            previous_ = qgetenv(name);
        }
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~Environment() {
        if (previous_) {
            qputenv(name_, *previous_);
        } else {
            qunsetenv(name_);
        }
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> previous_;
};

TEST_F(ExecuteFileRunInput, OkRefusesAnythingButAnExistingFileTakenAsTyped) {
    const std::string bin = (dir / "bin").string();
    std::filesystem::create_directories(dir / "$HOME");
    WriteFileBytes(dir / "$HOME" / "literal.sh", "#!/bin/sh\n");
    const Environment home("HOME", bin);
    const CurrentFolder current(dir.Path());
    enum Outcome { kAccepted, kEmpty, kNotFound };
    struct Case {
        QString typed;
        Outcome outcome;
    };
    const Case cases[] = {
        {QString(), kEmpty},
        {u" "_s, kNotFound},
        {ProgramText(), kAccepted},
        {QString::fromStdString(bin + "/missing.sh"), kNotFound},
        {QString::fromStdString(bin), kNotFound},  // a folder is no file
        {u"bin/tool.sh"_s, kAccepted},             // relative to the current folder
        {u"tool.sh"_s, kNotFound},                 // not looked up anywhere else
        {u"$HOME/tool.sh"_s, kNotFound},           // variables are not expanded
        {u"~/tool.sh"_s, kNotFound},
        {u"$HOME/literal.sh"_s, kAccepted},
        {u"\""_s + ProgramText() + u"\""_s, kNotFound},
    };
    owner.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        desktop.boxes.clear();
        std::filesystem::remove(PathHistory());
        TExecuteFileRun& d = Open();
        d.show();
        QApplication::setActiveWindow(&d);
        d.CommandLine->setFocus();
        d.ExecuteFilePath->setEditText(c.typed);
        d.OK->click();
        if (c.outcome == kAccepted) {
            EXPECT_TRUE(desktop.boxes.empty());
            EXPECT_EQ(d.result(), QDialog::Accepted);
            EXPECT_FALSE(d.isVisible());
            continue;
        }
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].text, c.outcome == kEmpty ? u"実行ファイルを選択してください。"_s
                                                             : u"\""_s + c.typed + u"\"が見つかりません。"_s);
        EXPECT_EQ(desktop.boxes[0].flags, mb::kIconWarning);
        EXPECT_EQ(desktop.boxes[0].parent, &d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.result(), 0);
        EXPECT_EQ(QApplication::focusWidget(), d.ExecuteFilePath);
        if (c.outcome == kNotFound) {
            EXPECT_EQ(d.ExecuteFilePath->lineEdit()->selectedText(), c.typed);
        }
        EXPECT_FALSE(std::filesystem::exists(PathHistory()));
    }
}

TEST_F(ExecuteFileRunInput, ChoosingAFileFillsAnEmptyDirectoryOnlyWhenTheSettingIsOne) {
    struct Case {
        const char* setting;  // value of AutoInput/ExecuteFileRun_CurrentDirectory, nullptr for none
        const char* before;
        const char* chosen;
        const char* after;
    };
    const Case cases[] = {
        {nullptr, "", "/opt/app/run.sh", "/opt/app"},
        {"1", "", "/run.sh", "/"},
        {"1", "", "/home/u/a\\b.sh", "/home/u"},  // a backslash is part of a name here
        {"1", "", "C:\\run.exe", ""},
        {"1", "/keep", "/opt/app/run.sh", "/keep"},
        {"1", " ", "/opt/app/run.sh", " "},
        {"0", "", "/opt/app/run.sh", ""},
        {"2", "", "/opt/app/run.sh", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting ? c.setting : "none") + " '" + c.before + "' " + c.chosen);
        WriteSettings("[Start]\n");
        TExecuteFileRun& d = Open();
        // The setting counts as it stands at the moment of the choice.
        if (c.setting != nullptr) {
            WriteSettings(std::string("[AutoInput]\nExecuteFileRun_CurrentDirectory=") + c.setting + "\n");
        }
        d.CurrentDirectory->setEditText(QString::fromUtf8(c.before));
        desktop.openFileAnswers.push_back({QString::fromUtf8(c.chosen)});
        d.FilePathReference->click();
        EXPECT_EQ(d.ExecuteFilePath->currentText(), QString::fromUtf8(c.chosen));
        EXPECT_EQ(d.CurrentDirectory->currentText(), QString::fromUtf8(c.after));
    }
}

TEST_F(ExecuteFileRunInput, TheFilePickerStartsFromTheTypedPathAndCancelChangesNothing) {
    struct Case {
        const char* typed;
        const char* folder;
    };
    const Case cases[] = {
        {"", ""},
        {"run.exe", ""},
        {"/opt/app/run.sh", "/opt/app/"},
        {"/home/u/a\\b.sh", "/home/u/"},
        {"C:\\Apps\\run.exe", ""},
    };
    TExecuteFileRun& d = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        desktop.openFileRequests.clear();
        d.ExecuteFilePath->setEditText(QString::fromUtf8(c.typed));
        d.CurrentDirectory->clearEditText();
        d.FilePathReference->click();
        ASSERT_EQ(desktop.openFileRequests.size(), 1u);
        const OpenFileOptions& request = desktop.openFileRequests[0];
        EXPECT_EQ(request.title, u"実行ファイルの参照"_s);
        EXPECT_EQ(request.filter, u"実行ファイル（*.exe;*.bat;*.cmd;*.com）|*.exe;*.bat;*.cmd;*.com"_s);
        EXPECT_FALSE(request.multiSelect);
        EXPECT_EQ(request.initialFileName, QString::fromUtf8(c.typed));
        EXPECT_EQ(request.initialFolder, QString::fromUtf8(c.folder));
        EXPECT_EQ(d.ExecuteFilePath->currentText(), QString::fromUtf8(c.typed));
        EXPECT_EQ(d.CurrentDirectory->currentText(), QString());
    }
}

TEST_F(ExecuteFileRunInput, TheFolderPickerStartsFromTheTypedDirectory) {
    TExecuteFileRun& d = Open();
    d.CurrentDirectory->setEditText(u"/srv/old"_s);
    desktop.folderAnswers.push_back(std::nullopt);
    desktop.folderAnswers.push_back(u"/srv/new dir"_s);
    d.CurrentDirectoryReference->click();
    EXPECT_EQ(d.CurrentDirectory->currentText(), u"/srv/old"_s);
    d.CurrentDirectoryReference->click();
    EXPECT_EQ(d.CurrentDirectory->currentText(), u"/srv/new dir"_s);
    ASSERT_EQ(desktop.folderRequests.size(), 2u);
    EXPECT_EQ(desktop.folderRequests[0].prompt, u"カレントディレクトリの選択"_s);
    EXPECT_TRUE(desktop.folderRequests[0].newFolderButton);
    EXPECT_EQ(desktop.folderRequests[0].startFolder, u"/srv/old"_s);
}

TEST_F(ExecuteFileRunInput, TheExecutablesDirectoryAlwaysReplacesTheWorkingDirectory) {
    struct Case {
        const char* path;
        const char* after;
    };
    const Case cases[] = {
        {"/opt/my app/run.sh", "/opt/my app"},
        {"/run.sh", "/"},
        {"/home/u/a\\b.sh", "/home/u"},
        {"C:\\run.exe", ""},
        {"run.sh", ""},
        {"", ""},
    };
    TExecuteFileRun& d = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        d.ExecuteFilePath->setEditText(QString::fromUtf8(c.path));
        d.CurrentDirectory->setEditText(u"/old"_s);
        d.N5->trigger();
        EXPECT_EQ(d.CurrentDirectory->currentText(), QString::fromUtf8(c.after));
    }
    EXPECT_TRUE(desktop.openFileRequests.empty());
    EXPECT_TRUE(desktop.folderRequests.empty());
}

}  // namespace
}  // namespace nagitori::test
