#include <QPushButton>
#include <QTest>

#include "app/MainFormFixture.h"
#include "launcher/LauncherPage.h"

namespace nagitori::test {
namespace {

class LauncherButtons : public MainFormFixture {
protected:
    LauncherButtons() { std::filesystem::create_directory(DataFolder()); }

    void WriteLauncherData(const std::string& text) const { WriteFileBytes(DataFolder() / "LauncherData.ini", text); }

    LaunchRequest Click(TMainForm& main, int tag) {
        system.launches.clear();
        main.Launchers->LauncherClick(tag);
        EXPECT_EQ(system.launches.size(), 1u);
        return system.launches.empty() ? LaunchRequest{} : system.launches.back();
    }
};

TEST_F(LauncherButtons, NoFileLeavesEveryButtonDisabledWithoutCaption) {
    TMainForm& main = Create();
    for (int tag = 0; tag < 20; ++tag) {
        QPushButton* button = main.Launchers->Button(tag);
        EXPECT_EQ(button->objectName(), QStringLiteral("Launcher%1").arg(tag + 1));
        EXPECT_EQ(button->parentWidget(), main.Pages[3]);
        EXPECT_EQ(button->geometry(), QRect(3 + 236 * (tag % 2), 3 + 39 * (tag / 2), 230, 33));
        EXPECT_FALSE(button->isEnabled());
        EXPECT_TRUE(button->text().isEmpty());
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(LauncherButtons, ButtonsShowTheSlotsWithTheirGaps) {
    WriteLauncherData(
        "[Application_1]\nName=メモ帳\n[Application_2]\nFilePath=/usr/bin/true\n[Application_3]\nName=端末\n"
        "[Application_21]\nName=never\n[Other]\nName=never\n");
    TMainForm& main = Create();
    EXPECT_TRUE(main.Launchers->Button(0)->isEnabled());
    EXPECT_EQ(main.Launchers->Button(0)->text(), QStringLiteral("メモ帳"));
    EXPECT_FALSE(main.Launchers->Button(1)->isEnabled());
    EXPECT_EQ(main.Launchers->Button(2)->text(), QStringLiteral("端末"));
    for (int tag = 3; tag < 20; ++tag) {
        EXPECT_FALSE(main.Launchers->Button(tag)->isEnabled()) << tag;
    }

    // A refresh after the file disappeared empties every button.
    std::filesystem::remove(DataFolder() / "LauncherData.ini");
    main.LauncherDataReading();
    EXPECT_FALSE(main.Launchers->Button(0)->isEnabled());
    EXPECT_TRUE(main.Launchers->Button(0)->text().isEmpty());
}

TEST_F(LauncherButtons, IconsShowWhatEachButtonStartsAndAreReadAtARefillOnly) {
    WriteLauncherData(
        "[Application_1]\nName=メモ帳\nFilePath=/usr/bin/gedit\n[Application_2]\nFilePath=/usr/bin/xterm\n"
        "[Application_3]\nName=不明\nFilePath=/nowhere\n");
    const IconReference icon{{}, ":/nagitori.svg"};
    system.icons = {{"/usr/bin/gedit", icon}, {"/usr/bin/xterm", icon}};
    TMainForm& main = Create();
    main.LauncherDataReading();
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    EXPECT_FALSE(main.Launchers->Button(0)->icon().isNull());
    EXPECT_TRUE(main.Launchers->Button(1)->icon().isNull()) << "a slot without a name shows nothing";
    EXPECT_TRUE(main.Launchers->Button(2)->icon().isNull()) << "a target without an icon";
    EXPECT_EQ(main.Launchers->Button(0)->iconSize(), QSize(16, 16));

    system.iconRequests.clear();
    Click(main, 0);
    EXPECT_TRUE(system.iconRequests.empty()) << "a click looked up an icon";

    // The next refill follows the file.
    WriteLauncherData("[Application_1]\nName=メモ帳\nFilePath=/nowhere\n");
    main.LauncherDataReading();
    EXPECT_TRUE(main.Launchers->Button(0)->icon().isNull()) << "the icon of what it no longer starts goes at once";
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    EXPECT_TRUE(main.Launchers->Button(0)->icon().isNull());
}

TEST_F(LauncherButtons, AClickReadsTheSlotAtThatMoment) {
    struct Case {
        const char* keys;
        const char* verb;
        int showCommand;
    };
    const Case cases[] = {
        {"", "", 1},
        {"AnAdminAdd=5\nWindowSize=0\n", "runas", 6},
        {"AnAdminAdd=-1\nWindowSize=2\n", "runas", 3},
        {"AnAdminAdd=True\nWindowSize=abc\n", "", 1},
        {"AnAdminAdd=0\nWindowSize=7\n", "", 1},
    };
    WriteSettings("[ToolRunOption]\nGiveAdministrator=1\n");
    TMainForm& main = Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        WriteLauncherData(std::string("[Application_2]\nName=x\nFilePath=/opt/新しい/app\nCommandLine=-v \"a b\"\n"
                                      "CurrentDirectory=/opt\n") +
                          c.keys);
        LaunchRequest request = Click(main, 1);
        EXPECT_EQ(request.verb, c.verb);
        EXPECT_EQ(request.showCommand, c.showCommand);
        EXPECT_EQ(request.target, "/opt/新しい/app");
        EXPECT_EQ(request.parameters, "-v \"a b\"");
        EXPECT_EQ(request.directory, "/opt");
    }
    // An unused slot still goes to the shell: the path is not examined beforehand.
    EXPECT_EQ(Click(main, 19).target, "");
}

TEST_F(LauncherButtons, FailureBoxNamesTheFileForTheResultsUsersCanActOn) {
    const std::string headline = "アプリケーションの起動に失敗しました。\r\n";
    struct Case {
        int result;
        std::string text;
    };
    const Case cases[] = {
        {2, headline + "'/x y/app'が見つかりません。"},
        {5, headline + "'/x y/app'へのアクセスが拒否されました。"},
        {8, headline + "'/x y/app'を起動するためのメモリが不足しています。"},
        {11, headline + "'/x y/app'は不正なフォーマットです。"},
        {32, headline + "'/x y/app'を起動するために必要なコンポーネントが欠落または破損しています。"},
        {3, headline},
        {0, headline},
        {31, headline},
    };
    WriteLauncherData("[Application_1]\nName=x\nFilePath=/x y/app\n");
    TMainForm& main = Create();
    for (const Case& c : cases) {
        desktop.boxes.clear();
        system.shellResult = c.result;
        Click(main, 0);
        ASSERT_EQ(desktop.boxes.size(), 1u) << c.result;
        EXPECT_EQ(desktop.boxes[0].text.toStdString(), c.text);
        EXPECT_EQ(desktop.boxes[0].flags, 48u);
    }
    system.shellResult = 33;
    desktop.boxes.clear();
    Click(main, 0);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(LauncherButtons, AnErrorDuringTheClickIsSwallowed) {
    WriteLauncherData("[Application_1]\nName=x\nFilePath=/bin/true\n");
    system.shellThrows = true;
    TMainForm& main = Create();
    main.Launchers->Button(0)->click();
    EXPECT_EQ(system.launches.size(), 1u);
    EXPECT_TRUE(desktop.boxes.empty());
}

}  // namespace
}  // namespace nagitori::test
