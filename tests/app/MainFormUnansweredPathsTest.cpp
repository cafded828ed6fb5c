#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/Main.h"
#include "launcher/LauncherPage.h"
#include "platform/posix/PosixSystem.h"
#include "platform/qt/ThemeIcon.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"
#include "support/UnansweredFifo.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

std::string Slot(int slot, const std::string& name, const fs::path& target) {
    return "[Application_" + std::to_string(slot) + "]\nName=" + name + "\nFilePath=" + target.string() + "\n";
}

QImage Picture(const QIcon& icon) {
    return icon.pixmap(16).toImage();
}

QImage PictureOf(const char* file) {
    return Picture(ThemeIcon(LoadIcon({{}, file})));
}

// The main window as a user meets it, shown and active on the options page: it answers when a timer fires and
// a key opens a dialog.
class MainFormUnansweredPaths : public ::testing::Test {
protected:
    MainFormUnansweredPaths() {
        fs::create_directories(DataFolder());
        fs::create_directory(dir / "bin");
        WriteFileBytes(dir / "bin" / "nagitori.ini", "[Start]\nRunShowTab=4\n");
    }

    fs::path DataFolder() const { return dir / "config" / "ナギトリ"; }
    void WriteLauncherData(const std::string& text) const { WriteFileBytes(DataFolder() / "LauncherData.ini", text); }

    TMainForm& Open(System& system) {
        form = std::make_unique<TMainForm>(system, desktop);
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Milliseconds until a timer fires on the window's thread, or -1 after a second.
    static qint64 TimerDelay() {
        QElapsedTimer clock;
        clock.start();
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        return QTest::qWaitFor([&fired] { return fired; }, 1000) ? clock.elapsed() : -1;
    }

    // Whether the access key of "ランチャーの管理(&L)" opened the management dialog.
    bool KeyOpensTheManagement() {
        desktop.modalDialogs.clear();
        QTest::keyClick(form.get(), Qt::Key_L, Qt::AltModifier);
        return QTest::qWaitFor([this] { return !desktop.modalDialogs.empty(); }, 1000) &&
               desktop.modalDialogs == std::vector<QString>{u"Launcher"_s};
    }

    TempDir dir;
    FakeDesktop desktop;
    std::unique_ptr<TMainForm> form;
};

// Registered entries that no open may wait on, through the real backend: the window answers at once, and every
// lookup comes back.
TEST_F(MainFormUnansweredPaths, FifoFolderAndDanglingLinkAsEntriesLeaveTheWindowAnswering) {
    const UnansweredFifo fifo(dir / "fifo.desktop");
    fs::create_directory(dir / "folder.desktop");
    fs::create_symlink(dir / "missing.desktop", dir / "dangling.desktop");
    WriteLauncherData(Slot(1, "FIFO", dir / "fifo.desktop") + Slot(2, "フォルダ", dir / "folder.desktop") +
                      Slot(3, "リンク切れ", dir / "dangling.desktop"));
    posix::PosixEnvironment environment;
    environment.executable = dir / "bin" / "nagitori";
    environment.xdgConfigHome = (dir / "config").string();
    posix::PosixSystem system(environment, {}, [] { return false; });

    QElapsedTimer clock;
    clock.start();
    TMainForm& main = Open(system);
    EXPECT_GE(TimerDelay(), 0);
    EXPECT_TRUE(KeyOpensTheManagement());
    main.LauncherDataReading();
    EXPECT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }, 5000));
    EXPECT_LT(clock.elapsed(), 4000) << "the window waited";
    EXPECT_FALSE(fifo.ReaderWasStuck());
    form.reset();
}

// A lookup that never returns, as on a network mount that does not answer.
TEST_F(MainFormUnansweredPaths, ALookupThatNeverReturnsHoldsUpNeitherWindowNorRefillNorTheEnd) {
    FakeSystem system;
    system.appData = dir / "config";
    system.executable = dir / "bin" / "nagitori";
    system.icons = {{"/mnt/hung/app", {{}, ":/shield.svg"}}, {"/usr/bin/gedit", {{}, ":/nagitori.svg"}}};
    system.hangingLookups = {"/mnt/hung/app"};
    WriteLauncherData(Slot(1, "応答なし", "/mnt/hung/app") + Slot(2, "エディタ", "/usr/bin/gedit"));

    TMainForm& main = Open(system);
    QPushButton* hung = main.Launchers->Button(0);
    QPushButton* answered = main.Launchers->Button(1);
    EXPECT_TRUE(QTest::qWaitFor([answered] { return !answered->icon().isNull(); }, 2000)) << "the others' icons";
    EXPECT_TRUE(hung->icon().isNull());
    EXPECT_TRUE(main.IconsPending());
    EXPECT_GE(TimerDelay(), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(KeyOpensTheManagement()) << "its own rows hang too, and it opened and closed";
    EXPECT_LT(clock.elapsed(), 1000);

    // A refill returns at once, and its answers land although the earlier lookup still hangs.
    WriteLauncherData(Slot(1, "エディタ", "/usr/bin/gedit"));
    clock.restart();
    main.LauncherDataReading();
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }, 2000));
    EXPECT_EQ(Picture(hung->icon()), PictureOf(":/nagitori.svg"));

    // When the hung lookup comes back at last, its late answer does not replace the newer one.
    system.ReleaseLookups();
    QTest::qWait(200);
    EXPECT_EQ(Picture(hung->icon()), PictureOf(":/nagitori.svg"));

    // The end of the window does not wait for a lookup that hangs.
    {
        FakeSystem other;
        other.appData = system.appData;
        other.executable = system.executable;
        other.hangingLookups = {"/mnt/hung/other"};
        WriteLauncherData(Slot(1, "応答なし", "/mnt/hung/other"));
        Open(other);
        clock.restart();
        form.reset();
        EXPECT_LT(clock.elapsed(), 1000);
    }
}

}  // namespace
}  // namespace nagitori::test
