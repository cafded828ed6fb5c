#include <QSignalSpy>
#include <QTest>

#include "app/Application.h"
#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"

namespace nagitori::test {
namespace {

using MainFormStart = MainFormFixture;

TEST_F(MainFormStart, StartPageFollowsRunShowTabAndTheSystemVersion) {
    struct Case {
        int runShowTab;
        int osMajor;
        int entry;  // selected entry, -1 for none
        int page;   // page shown, -1 for none
    };
    const Case cases[] = {
        {0, 10, 0, 0}, {1, 10, 1, 1}, {2, 10, 2, 2},  {3, 10, 3, 3}, {4, 10, 4, 4}, {9, 10, -1, -1}, {-1, 10, -1, -1},
        {0, 6, 0, 0},  {1, 6, 1, 1},  {2, 6, -1, -1}, {3, 6, 2, 3},  {4, 6, 3, 4},  {9, 6, -1, -1},  {-1, 6, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "RunShowTab=" << c.runShowTab << " major=" << c.osMajor);
        WriteSettings("[Start]\nRunShowTab=" + std::to_string(c.runShowTab) + "\n");
        system.osMajor = c.osMajor;
        TMainForm& main = Create();
        EXPECT_EQ(main.Item->count(), c.osMajor >= 10 ? 5 : 4);
        EXPECT_EQ(main.Item->currentRow(), c.entry);
        EXPECT_EQ(main.ShownPage(), c.page);
        if (c.entry >= 0) {
            EXPECT_EQ(main.Item->currentItem()->text(), main.Pages[static_cast<size_t>(c.page)]->windowTitle());
        }
    }
}

TEST_F(MainFormStart, PickingEntriesOnAnOlderSystemSkipsTheStorePage) {
    system.osMajor = 6;
    WriteSettings("[Start]\nRunShowTab=7\n");
    TMainForm& main = Create();
    ASSERT_EQ(main.ShownPage(), -1);
    const int expectedPage[] = {0, 1, 3, 4};
    for (int entry = 0; entry < 4; ++entry) {
        main.Item->setCurrentRow(entry);
        EXPECT_EQ(main.ShownPage(), expectedPage[entry]) << entry;
    }
}

TEST_F(MainFormStart, WithoutASettingsFileEverythingTakesItsDefault) {
    TMainForm& main = Create();
    EXPECT_FALSE(main.N4->isChecked());
    EXPECT_FALSE(main.N5->isChecked());
    EXPECT_EQ(main.WindowSize, 1);
    EXPECT_EQ(main.CurrentDirectory, "");
    EXPECT_EQ(main.ShownPage(), 0);
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(MainFormStart, ReadsTheToolOptionsAndToggles) {
    WriteSettings(
        "[ToolRunOption]\nCurrentDirectory=C:\\作業 フォルダ\nWindowSize=0x2\nGiveAdministrator=2\n"
        "[Start]\nWindowTopShow=1\n");
    TMainForm& main = Create();
    EXPECT_EQ(main.CurrentDirectory, "C:\\作業 フォルダ");
    EXPECT_EQ(main.WindowSize, 2);
    EXPECT_TRUE(main.N4->isChecked());
    EXPECT_TRUE(main.N5->isChecked());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainFormStart, RefusesToRunWithoutRequiredAdministratorRights) {
    struct Case {
        const char* runAdministrator;
        bool admin;
        bool refused;
    };
    for (Case c : {Case{"1", false, true}, Case{"1", true, false}, Case{"0", false, false}}) {
        SCOPED_TRACE(testing::Message() << c.runAdministrator << " admin=" << c.admin);
        desktop.boxes.clear();
        std::filesystem::remove_all(DataFolder());
        WriteSettings(std::string("[Start]\nRunAdministrator=") + c.runAdministrator +
                      "\nRunShowTab=3\n[ToolRunOption]\nGiveAdministrator=1\n");
        system.admin = c.admin;
        TMainForm& main = Create();
        EXPECT_EQ(main.TerminateRequested(), c.refused);
        if (c.refused) {
            ASSERT_EQ(desktop.boxes.size(), 1u);
            EXPECT_EQ(desktop.boxes[0].text, QStringLiteral("管理者権限で起動してください。"));
            EXPECT_EQ(desktop.boxes[0].flags, 262160u);
        } else {
            EXPECT_TRUE(desktop.boxes.empty());
        }
        // The remaining start-up steps run either way.
        EXPECT_TRUE(main.N4->isChecked());
        EXPECT_EQ(main.ShownPage(), 3);
        EXPECT_TRUE(std::filesystem::is_directory(DataFolder()));
    }
}

TEST_F(MainFormStart, RefusedStartEndsBeforeTheEventLoopHandlesInput) {
    WriteSettings("[Start]\nRunAdministrator=1\n");
    // Would block in the event loop if the refusal did not end the program first.
    SingleInstance alone{QString()};
    EXPECT_EQ(RunApplication(system, desktop, alone), 0);
    EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(MainFormStart, CreatesTheDataFolderAndIgnoresAFailure) {
    Create();
    EXPECT_TRUE(std::filesystem::is_directory(DataFolder()));

    // A regular file where the application-data folder should be: creation fails, silently.
    system.appData = dir / "not-a-folder";
    WriteFileBytes(system.appData, "x");
    TMainForm& main = Create();
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(main.ShownPage(), 0);
}

// A new account may have no ~/.config yet: it is made, private to the user, but nothing above it.
TEST_F(MainFormStart, CreatesTheDataFolderAndAMissingConfigFolderButNothingAbove) {
    std::filesystem::remove_all(system.appData);
    Create();
    EXPECT_TRUE(std::filesystem::is_directory(DataFolder()));
    EXPECT_EQ(std::filesystem::status(system.appData).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);

    system.appData = dir / "missing" / "config";
    Create();
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace nagitori::test
