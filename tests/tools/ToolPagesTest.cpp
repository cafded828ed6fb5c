#include <QCoreApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "app/MainFormFixture.h"
#include "tools/ToolPages.h"

namespace nagitori::test {
namespace {

struct CatalogueRow {
    int tag;
    const char* button;
    const char* caption;
    const char* command;
};

const CatalogueRow kCatalogueRows[] = {
    {0, "Button1", "イベント ビュアー (&0)", "eventvwr.msc"},
    {1, "Button2", "インターネットのプロパティ (&1)", "inetcpl.cpl"},
    {2, "Button3", "コマンド プロンプト (&2)", "cmd.exe"},
    {3, "Button4", "コントロールパネル (&3)", "control"},
    {4, "Button5", "コンピューターの管理 (&4)", "compmgmt.msc"},
    {5, "Button6", "サービス (&5)", "services.msc"},
    {6, "Button7", "システム構成(&6)", "msconfig.exe"},
    {7, "Button8", "システム情報 (&7)", "msinfo32"},
    {8, "Button9", "セキュリティとメンテナンス (&8)", "wscui.cpl"},
    {9, "Button10", "タスク マネージャー (&9)", "taskmgr.exe"},
    {10, "Button11", "ディスク クリーンアップ (&A)", "cleanmgr.exe"},
    {11, "Button12", "デバイス マネージャー (&B)", "devmgmt.msc"},
    {12, "Button13", "ドライブのデフラグと最適化 (&C)", "dfrgui.exe"},
    {13, "Button14", "モビリティ センター (&D)", "mblctr.exe"},
    {14, "Button15", "リソース モニター (&E)", "perfmon.exe"},
    {15, "Button16", "リモート デスクトップ接続 (&F)", "mstsc.exe"},
    {16, "Button17", "レジストリ エディタ (&G)", "regedit.exe"},
    {17, "Button18", "Direct X 診断ツール (&H)", "dxdiag.exe"},
    {18, "Button19", "Windows Defender ファイアウォール (&I)", "firewall.cpl"},
    {19, "Button20", "Windows PowerShell (&J)", "powershell"},
    {20, "Button61", "エクスプローラー (&0)", "explorer"},
    {21, "Button62", "拡大鏡 (&1)", "magnify"},
    {22, "Button63", "数式入力パネル (&2)", "mip"},
    {23, "Button64", "スクリーン キーボード (&3)", "osk"},
    {24, "Button65", "ステップ記録ツール (&4)", "psr"},
    {25, "Button66", "電卓 (&5)", "calc"},
    {26, "Button67", "ペイント (&6)", "mspaint"},
    {27, "Button68", "メモ帳 (&7)", "notepad"},
    {28, "Button69", "文字コード表 (&8)", "charmap"},
    {29, "Button70", "ワードパッド (&9)", "wordpad"},
    {30, "Button71", "IExpress（自己解凍ファイル作成ツール） (&A)", "iexpress"},
    {31, "Button72", "Internet Explorer (&B)", "iexplore"},
    {32, "Button73", "Microsoft Office Excel (&C)", "excel"},
    {33, "Button74", "Microsoft Office OneNote (&D)", "onenote"},
    {34, "Button75", "Microsoft Office Outlook (&E)", "outlook"},
    {35, "Button76", "Microsoft Office PowerPoint (&F)", "powerpnt"},
    {36, "Button77", "Microsoft Office Word (&G)", "winword"},
    {37, "Button78", "Snipping Tool (&H)", "SnippingTool"},
    {38, "Button79", "Windows Media Player (&I)", "wmplayer"},
    {39, "Button80", "XPS ビュアー (&J)", "xpsrchvw"},
    {40, "Button21", "アラーム＆クロック (&0)", "ms-clock:"},
    {41, "Button22", "映画＆ビデオ (&1)", "mswindowsvideo:"},
    {42, "Button23", "カメラ (&2)", "microsoft.windows.camera:"},
    {43, "Button24", "カレンダー (&3)", "outlookcal:"},
    {44, "Button25", "設定 (&4)", "ms-settings:"},
    {45, "Button26", "天気 (&5)", "msnweather:"},
    {46, "Button27", "電卓 (&6)", "calculator:"},
    {47, "Button28", "ヒント (&7)", "ms-get-started:"},
    {48, "Button29", "フィードバック Hub (&8)", "feedback-hub:"},
    {49, "Button30", "フォト (&9)", "ms-photos:"},
    {50, "Button31", "ペイント3D (&A)", "ms-paint:"},
    {51, "Button32", "マップ (&B)", "bingmaps:"},
    {52, "Button33", "メール (&C)", "outlookmail:"},
    {53, "Button34", "Microsoft Edge (&D)", "microsoft-edge:"},
    {54, "Button35", "Microsoft Store (&E)", "zune:"},
    {55, "Button36", "OneNote (&F)", "onenote-cmd:"},
    {56, "Button37", "People (&G)", "ms-people:"},
    {57, "Button38", "Skype (&H)", "skype:"},
    {58, "Button39", "Windows Defender セキュリティ センター(&I)", "windowsdefender:"},
    {59, "Button40", "Xbox (&J)", "xbox:"},
};

class ToolButtons : public MainFormFixture {
protected:
    // Clicks the button with this tag and returns what reached the shell.
    LaunchRequest Click(TMainForm& main, int tag) {
        system.launches.clear();
        main.Tools->Button(tag)->click();
        EXPECT_EQ(system.launches.size(), 1u);
        return system.launches.empty() ? LaunchRequest{} : system.launches.back();
    }

    // Clicks the button with this tag and returns the texts of the notices it gave, each a warning.
    std::vector<QString> NoticesOfClick(TMainForm& main, int tag) {
        desktop.boxes.clear();
        Click(main, tag);
        std::vector<QString> texts;
        for (const FakeDesktop::Box& box : desktop.boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(box.flags, 48u);
        }
        return texts;
    }
};

TEST_F(ToolButtons, EveryButtonHasItsNameCaptionPlaceAndCommand) {
    WriteSettings("[ToolRunOption]\nCommandLine=-x\n");
    TMainForm& main = Create();
    QWidget* previousOnPage = nullptr;
    for (const CatalogueRow& row : kCatalogueRows) {
        SCOPED_TRACE(row.tag);
        QPushButton* button = main.Tools->Button(row.tag);
        const int position = row.tag % 20;
        EXPECT_EQ(button->objectName(), QString::fromUtf8(row.button));
        EXPECT_EQ(button->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(button->parentWidget(), main.Pages[static_cast<size_t>(row.tag / 20)]);
        EXPECT_EQ(button->geometry(), QRect(3 + 236 * (position % 2), 3 + 39 * (position / 2), 230, 33));
        if (position > 0) {
            EXPECT_EQ(previousOnPage->nextInFocusChain(), button);
        }
        previousOnPage = button;
        EXPECT_EQ(Click(main, row.tag).target, row.command);
    }
}

TEST_F(ToolButtons, ParametersAreFixedForTwoToolsAndReadAtEachClickForTheOthers) {
    WriteSettings("[ToolRunOption]\nCommandLine=/first \"a b\"\n");
    TMainForm& main = Create();
    for (int tag = 0; tag < 40; ++tag) {
        const std::string expected = tag == 9 ? "/7" : tag == 14 ? "/res" : "/first \"a b\"";
        EXPECT_EQ(Click(main, tag).parameters, expected) << tag;
        EXPECT_EQ(main.CommandLine, expected) << tag;
    }
    // A hand edit counts from the next click on, without a restart.
    WriteSettings("[ToolRunOption]\nCommandLine=\n");
    EXPECT_EQ(Click(main, 0).parameters, "");
    EXPECT_EQ(Click(main, 9).parameters, "/7");
    std::filesystem::remove(SettingsFile());
    EXPECT_EQ(Click(main, 14).parameters, "/res");
    EXPECT_EQ(Click(main, 25).parameters, "");
}

TEST_F(ToolButtons, VerbAndShowCommandFollowTheToolOptions) {
    struct Case {
        const char* windowSize;
        int showCommand;
    };
    for (Case c : {Case{"0", 6}, Case{"1", 1}, Case{"2", 3}, Case{"5", 5}, Case{"-1", -1}, Case{"abc", 1}}) {
        SCOPED_TRACE(c.windowSize);
        WriteSettings(std::string("[ToolRunOption]\nCurrentDirectory=/srv/作業\nWindowSize=") + c.windowSize + "\n");
        TMainForm& main = Create();
        LaunchRequest request = Click(main, 2);
        EXPECT_EQ(request.verb, "open");
        EXPECT_EQ(request.showCommand, c.showCommand);
        EXPECT_EQ(request.directory, "/srv/作業");
        main.N4->trigger();
        EXPECT_EQ(Click(main, 20).verb, "runas");
        // A working directory changed by hand counts only after the next start.
        WriteSettings("[ToolRunOption]\nCurrentDirectory=/elsewhere\nWindowSize=2\n");
        EXPECT_EQ(Click(main, 2).directory, "/srv/作業");
    }
}

TEST_F(ToolButtons, StoreButtonsIgnoreEveryToolOption) {
    WriteSettings("[ToolRunOption]\nCommandLine=-x\nCurrentDirectory=/tmp\nWindowSize=2\nGiveAdministrator=1\n");
    TMainForm& main = Create();
    ASSERT_TRUE(main.N4->isChecked());
    for (int tag = 40; tag < 60; ++tag) {
        LaunchRequest request = Click(main, tag);
        EXPECT_EQ(request.verb, "open");
        EXPECT_EQ(request.parameters, "");
        EXPECT_EQ(request.directory, "");
        EXPECT_EQ(request.showCommand, 5);
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ToolButtons, FailureMessagesOnlyForOfficeAndStoreButtons) {
    system.shellResult = 32;
    TMainForm& main = Create();
    for (int tag = 0; tag < 40; ++tag) {
        desktop.boxes.clear();
        Click(main, tag);
        if (tag >= 32 && tag <= 36) {
            ASSERT_EQ(desktop.boxes.size(), 1u) << tag;
            EXPECT_EQ(desktop.boxes[0].flags, 48u);
        } else {
            EXPECT_TRUE(desktop.boxes.empty()) << tag;
        }
    }
    desktop.boxes.clear();
    Click(main, 32);
    EXPECT_EQ(desktop.boxes.at(0).text, QStringLiteral("Microsoft Office Excel がインストールされていません。"));

    // With administrator rights handed out, a refused elevation is silent.
    main.N4->trigger();
    desktop.boxes.clear();
    Click(main, 36);
    EXPECT_TRUE(desktop.boxes.empty());

    Click(main, 44);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QStringLiteral("ストアアプリの起動に失敗しました。"));
    EXPECT_EQ(desktop.boxes[0].flags, 48u);

    system.shellResult = 33;
    desktop.boxes.clear();
    Click(main, 32);
    Click(main, 44);
    EXPECT_TRUE(desktop.boxes.empty());
}

// Where the platform picks the program (Linux), it names it in each button's tooltip, and tells the user when
// nothing is installed, before the button's own failure message.
TEST_F(ToolButtons, PlatformNamesTheProgramAndReportsAMissingOne) {
    system.standIns = {
        {"eventvwr.msc", {"", {"gnome-logs", "ksystemlog"}, {}}},
        {"dfrgui.exe", {"", {}, {}}},
        {"calc", {"電卓 (gnome-calculator)", {"gnome-calculator"}, {{"accessories-calculator"}, {}}}},
        {"excel", {"", {"libreoffice-calc"}, {}}},
        {"ms-clock:", {"", {"gnome-clocks"}, {}}},
    };
    system.shellResult = 2;
    TMainForm& main = Create();
    const QString noticeOfLogs = QStringLiteral(
        "イベント ビュアー: このシステムには対応するプログラムがありません。次のいずれかをインストールしてください: "
        "gnome-logs, ksystemlog");
    struct Case {
        int tag;
        QString toolTip;  // empty: the platform has nothing to say
        std::vector<QString> boxes;
    };
    const Case cases[] = {
        {0,
         QStringLiteral("対応するプログラムがインストールされていません。候補: gnome-logs, ksystemlog"),
         {noticeOfLogs}},
        {12,
         QStringLiteral("Linux にはこの機能に相当するプログラムがありません。"),
         {QStringLiteral("ドライブのデフラグと最適化: Linux にはこの機能に相当するプログラムがありません。")}},
        {25, QStringLiteral("起動するプログラム: 電卓 (gnome-calculator)"), {}},
        {32,
         QStringLiteral("対応するプログラムがインストールされていません。候補: libreoffice-calc"),
         {QStringLiteral("Microsoft Office Excel: このシステムには対応するプログラムがありません。"
                         "次のいずれかをインストールしてください: libreoffice-calc"),
          QStringLiteral("Microsoft Office Excel がインストールされていません。")}},
        {40,
         QStringLiteral("対応するプログラムがインストールされていません。候補: gnome-clocks"),
         {QStringLiteral("アラーム＆クロック: このシステムには対応するプログラムがありません。"
                         "次のいずれかをインストールしてください: gnome-clocks"),
          QStringLiteral("ストアアプリの起動に失敗しました。")}},
        {1, QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        QPushButton* button = main.Tools->Button(c.tag);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(button, &help);
        if (c.toolTip.isEmpty()) {
            EXPECT_FALSE(help.isAccepted()) << "a tooltip was shown";
        } else {
            EXPECT_EQ(QToolTip::text(), c.toolTip);
        }

        EXPECT_EQ(NoticesOfClick(main, c.tag), c.boxes);
    }
    // A launch that succeeds needs no notice, installed or not.
    system.shellResult = 42;
    desktop.boxes.clear();
    Click(main, 0);
    EXPECT_TRUE(desktop.boxes.empty());
}

// A refused prompt stays silent; with no program to raise the rights at all, the platform says which package to
// install, as it does for a missing stand-in (which comes first: without it there is nothing to raise).
TEST_F(ToolButtons, MissingElevationProgramIsNamedWhenToolsGetAdministratorRights) {
    system.standIns = {
        {"calc", {"電卓 (gnome-calculator)", {"gnome-calculator"}, {}}},
        {"eventvwr.msc", {"", {"gnome-logs"}, {}}},
    };
    system.missingElevation = MissingProgram{"pkexec", {"pkexec"}};
    system.shellResult = 5;
    TMainForm& main = Create();
    const QString pkexec = QStringLiteral(
        ": 管理者権限で起動するためのプログラム pkexec がインストールされていません。次をインストールしてください: "
        "pkexec");
    struct Case {
        bool administrator;
        int tag;
        std::vector<QString> boxes;
    };
    const Case cases[] = {
        {false, 25, {}},
        {true, 25, {QStringLiteral("電卓") + pkexec}},
        {true, 32, {QStringLiteral("Microsoft Office Excel") + pkexec}},
        {true,
         0,
         {QStringLiteral("イベント ビュアー: このシステムには対応するプログラムがありません。"
                         "次のいずれかをインストールしてください: gnome-logs")}},
        {true, 44, {QStringLiteral("ストアアプリの起動に失敗しました。")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        if (main.N4->isChecked() != c.administrator) {
            main.N4->trigger();
        }
        EXPECT_EQ(NoticesOfClick(main, c.tag), c.boxes);
    }
    system.missingElevation.reset();
    desktop.boxes.clear();
    Click(main, 25);
    EXPECT_TRUE(desktop.boxes.empty()) << "a refused prompt said something";
}

TEST_F(ToolButtons, EachButtonShowsTheIconOfWhatItWouldStart) {
    const IconReference icon{{}, ":/nagitori.svg"};
    system.standIns = {
        {"calc", {"電卓 (gnome-calculator)", {"gnome-calculator"}, icon}},
        {"notepad", {"", {"gedit"}, {}}},  // nothing installed
    };
    TMainForm& main = Create();
    main.IconsReading();
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    EXPECT_FALSE(main.Tools->Button(25)->icon().isNull());
    EXPECT_EQ(main.Tools->Button(25)->iconSize(), QSize(16, 16));
    EXPECT_TRUE(main.Tools->Button(27)->icon().isNull());
    EXPECT_TRUE(main.Tools->Button(0)->icon().isNull()) << "where the platform says nothing";

    // Once the program is gone, the next reading drops its icon.
    system.standIns["calc"] = {"", {"gnome-calculator"}, {}};
    main.IconsReading();
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    EXPECT_TRUE(main.Tools->Button(25)->icon().isNull());
}

// A start shows one page: the buttons of another are made when it is first shown, with the icons read at start, and
// answer the mouse, the tooltip and the keyboard as the start page's do.
TEST_F(ToolButtons, APageShownLaterHasTheIconsReadAtStartAndAnswersAsTheFirst) {
    const IconReference icon{{}, ":/nagitori.svg"};
    system.standIns = {{"calc", {"電卓 (gnome-calculator)", {"gnome-calculator"}, icon}}};
    TMainForm& main = Create();
    ASSERT_EQ(main.ShownPage(), 0);
    main.IconsReading();
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    EXPECT_EQ(main.Pages[0]->findChildren<QPushButton*>().size(), 20);
    EXPECT_TRUE(main.Pages[1]->findChildren<QPushButton*>().isEmpty()) << "made before it was shown";

    main.show();
    main.Item->setCurrentRow(1);
    ASSERT_EQ(main.ShownPage(), 1);
    ASSERT_EQ(main.Pages[1]->findChildren<QPushButton*>().size(), 20);
    auto* calc = main.Pages[1]->findChild<QPushButton*>(QStringLiteral("Button66"));
    ASSERT_NE(calc, nullptr);
    EXPECT_TRUE(calc->isVisible());
    EXPECT_FALSE(calc->icon().isNull());
    EXPECT_TRUE(main.Pages[1]->findChild<QPushButton*>(QStringLiteral("Button61"))->icon().isNull());

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), calc->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(calc, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("起動するプログラム: 電卓 (gnome-calculator)"));

    calc->click();
    ASSERT_EQ(system.launches.size(), 1u);
    EXPECT_EQ(system.launches[0].target, "calc");
    // Tab from the page's first button walks its buttons in order.
    auto* first = main.Pages[1]->findChild<QPushButton*>(QStringLiteral("Button61"));
    EXPECT_EQ(first->nextInFocusChain(), main.Pages[1]->findChild<QPushButton*>(QStringLiteral("Button62")));
}

}  // namespace
}  // namespace nagitori::test
