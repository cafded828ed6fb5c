#include <QPointer>

#include "runfile/ExecuteFileRun.h"
#include "runfile/ExecuteFileRunFixture.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;

// Records, at the moment of each launch, what the history files hold.
class HistoryCheckingSystem : public FakeSystem {
public:
    std::vector<std::string> pathHistoryAtLaunch;
    std::vector<std::string> directoryHistoryAtLaunch;

    int ShellExecute(const LaunchRequest& request) override {
        const std::filesystem::path data = appData / "ナギトリ";
        pathHistoryAtLaunch.push_back(ReadIfPresent(data / "ExecuteFileHistory.txt"));
        directoryHistoryAtLaunch.push_back(ReadIfPresent(data / "CurrentDirectoryHistory.txt"));
        return FakeSystem::ShellExecute(request);
    }

private:
    static std::string ReadIfPresent(const std::filesystem::path& path) {
        return std::filesystem::exists(path) ? ReadFileBytes(path) : "-";
    }
};

class ExecuteFileRunLaunch : public ExecuteFileRunFixture {
protected:
    struct Input {
        QString path;
        QString commandLine;
        QString directory;
        int windowSize;
        bool admin;
    };

    // Queues a script that fills the dialog and presses OK.
    void Confirm(const Input& input) {
        desktop.modalScripts.push_back([this, input](QDialog& dialog) {
            auto& d = static_cast<TExecuteFileRun&>(dialog);
            opened = &d;
            d.ExecuteFilePath->setEditText(input.path);
            d.CommandLine->setText(input.commandLine);
            d.CurrentDirectory->setEditText(input.directory);
            d.WindowSize->setCurrentIndex(input.windowSize);
            d.AnAdminAdd->setChecked(input.admin);
            d.OK->click();
        });
    }

    void Run() { ExecuteFileRun(checkingSystem, desktop, &owner); }

    HistoryCheckingSystem checkingSystem;
    QPointer<TExecuteFileRun> opened;

    void SetUp() override {
        checkingSystem.appData = system.appData;
        checkingSystem.executable = system.executable;
    }
};

TEST_F(ExecuteFileRunLaunch, TheConfirmedFieldsGoToTheShellExactlyAsTyped) {
    struct Case {
        Input input;
        const char* verb;
        int showCommand;
    };
    const Case cases[] = {
        {{ProgramText(), QString(), QString(), 1, false}, "open", kSwShowNormal},
        {{ProgramText(), u" -a \"b c\" "_s, u" /srv/work "_s, 0, true}, "runas", kSwMinimize},
        {{ProgramText(), u"%PATH%"_s, u"/no/such/folder"_s, 2, false}, "open", kSwShowMaximized},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.commandLine.toStdString());
        checkingSystem.launches.clear();
        Confirm(c.input);
        Run();
        EXPECT_EQ(desktop.modalDialogs.back(), u"ExecuteFileRun"_s);
        EXPECT_TRUE(opened.isNull()) << "the dialog outlived the launch";
        ASSERT_EQ(checkingSystem.launches.size(), 1u);
        const LaunchRequest& request = checkingSystem.launches[0];
        EXPECT_EQ(request.verb, c.verb);
        EXPECT_EQ(request.target, Program().string());
        EXPECT_EQ(request.parameters, c.input.commandLine.toStdString());
        EXPECT_EQ(request.directory, c.input.directory.toStdString());
        EXPECT_EQ(request.showCommand, c.showCommand);
        EXPECT_EQ(request.parent, owner.winId());
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ExecuteFileRunLaunch, AFailedLaunchIsReportedAfterTheHistoriesWereWritten) {
    checkingSystem.shellResult = 32;
    Confirm({ProgramText(), QString(), u"/srv"_s, 1, true});
    Run();
    ASSERT_EQ(checkingSystem.launches.size(), 1u);
    EXPECT_EQ(checkingSystem.pathHistoryAtLaunch[0], Program().string());
    EXPECT_EQ(checkingSystem.directoryHistoryAtLaunch[0], "/srv");
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, u"\""_s + ProgramText() + u"\"の起動に失敗しました。"_s);
    EXPECT_EQ(desktop.boxes[0].flags, mb::kIconWarning);
    EXPECT_EQ(desktop.boxes[0].parent, &owner);
}

TEST_F(ExecuteFileRunLaunch, NothingIsLaunchedUnlessTheDialogWasConfirmed) {
    // Cancelled; then OK refused for an empty path, after which the dialog is closed.
    desktop.modalScripts.push_back([](QDialog& dialog) {
        auto& d = static_cast<TExecuteFileRun&>(dialog);
        d.ExecuteFilePath->setEditText(u"/srv/tool.sh"_s);
        d.Cancel->click();
    });
    Run();
    Confirm({QString(), QString(), u"/srv"_s, 1, false});
    Run();
    EXPECT_TRUE(checkingSystem.launches.empty());
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, u"実行ファイルを選択してください。"_s);
    EXPECT_FALSE(std::filesystem::exists(PathHistory()));
    EXPECT_FALSE(std::filesystem::exists(DirectoryHistory()));
}

}  // namespace
}  // namespace nagitori::test
