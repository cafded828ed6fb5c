#include <gtest/gtest.h>

#include <QPushButton>

#include "app/Main.h"
#include "launcher/LauncherPage.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ShellTestSupport.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"
#include "tools/ToolPages.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;

// The main window over the real POSIX backend: clicks reach real programs on a test PATH.
class MainFormRealLaunch : public ::testing::Test {
protected:
    MainFormRealLaunch() {
        fs::create_directories(bin / "");
        fs::create_directories(work / "");
        fs::create_directories(dir / "config" / "ナギトリ");
        environment.path = bin.string();
        environment.xdgConfigHome = (dir / "config").string();
    }

    // A program on the test PATH that records how it was started into its own marker file.
    fs::path Program(const std::string& name) {
        WriteMarkerScript(bin / name, dir / (name + ".marker"));
        return bin / name;
    }
    std::optional<Marker> MarkerOf(const std::string& name) { return WaitForMarker(dir / (name + ".marker")); }

    TempDir dir;
    fs::path bin = dir / "bin";
    fs::path work = dir / "作業 フォルダ";
    posix::PosixEnvironment environment;
    FakeDesktop desktop;
};

TEST_F(MainFormRealLaunch, LauncherButtonStartsTheSlotsProgram) {
    const fs::path program = Program("registered");
    WriteFileBytes(dir / "config" / "ナギトリ" / "LauncherData.ini",
                   "[Application_1]\nName=登録\nFilePath=" + program.string() + "\nCommandLine=one \"two words\"\n" +
                       "CurrentDirectory=" + work.string() + "\n");
    posix::PosixSystem system(environment, {}, [] { return false; });
    TMainForm main(system, desktop);
    ASSERT_TRUE(main.Launchers->Button(0)->isEnabled());
    main.Launchers->Button(0)->click();
    const std::optional<Marker> marker = MarkerOf("registered");
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, MarkerLines(work, program, {"one", "two words"}));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainFormRealLaunch, CatalogueCommandOnPathWinsOverTheStandInTable) {
    const fs::path calc = Program("calc");
    const fs::path standIn = Program("stand-in");
    posix::PosixSystem system(environment, {{"calc", {{"stand-in", {"--calc"}}}}, {"notepad", {{"stand-in", {}}}}},
                              [] { return false; });
    TMainForm main(system, desktop);

    main.Tools->Button(25)->click();  // "calc" is on the PATH itself
    std::optional<Marker> marker = MarkerOf("calc");
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines.at(1), calc.string());

    main.Tools->Button(27)->click();  // "notepad" only through the table
    marker = MarkerOf("stand-in");
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines.at(1), standIn.string());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainFormRealLaunch, BuiltInButtonWithNothingInstalledNamesThePackagesThatWouldServe) {
    ASSERT_TRUE(IsolateDesktopDatabase().isolated);  // no desktop files, no default applications
    environment.path.clear();
    using posix::DesktopEnvironment;
    using posix::StandInKind;
    posix::PosixSystem system(
        environment,
        {{"eventvwr.msc",
          {{"gnome-logs", {}, StandInKind::Program, DesktopEnvironment::Gnome, "gnome-logs"},
           {"org.kde.ksystemlog.desktop", {}, StandInKind::DesktopFile, DesktopEnvironment::Kde, "ksystemlog"}}},
         {"ms-clock:",
          {{"org.gnome.clocks.desktop", {}, StandInKind::DesktopFile, DesktopEnvironment::Gnome, "gnome-clocks"}}}},
        [] { return false; });
    TMainForm main(system, desktop);

    main.Tools->Button(0)->click();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text,
              QStringLiteral("イベント ビュアー: このシステムには対応するプログラムがありません。"
                             "次のいずれかをインストールしてください: gnome-logs, ksystemlog"));

    // The Store button's own message follows the notice.
    desktop.boxes.clear();
    main.Tools->Button(40)->click();
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[0].text,
              QStringLiteral("アラーム＆クロック: このシステムには対応するプログラムがありません。"
                             "次のいずれかをインストールしてください: gnome-clocks"));
    EXPECT_EQ(desktop.boxes[1].text, QStringLiteral("ストアアプリの起動に失敗しました。"));
}

}  // namespace
}  // namespace nagitori::test
