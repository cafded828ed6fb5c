#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>
#include <functional>

#include "app/MainFormFixture.h"

namespace nagitori::test {
namespace {

using MainFormToggle = MainFormFixture;

struct ToggleCase {
    const char* name;
    QAction* TMainForm::*item;
    std::string expectedFile;
};

const ToggleCase kToggles[] = {
    {"N4", &TMainForm::N4, "[ToolRunOption]\nGiveAdministrator=1\n"},
    {"N5", &TMainForm::N5, "[Start]\nWindowTopShow=1\n"},
};

TEST_F(MainFormToggle, EachToggleWritesOnlyItsOwnKey) {
    for (const ToggleCase& c : kToggles) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(SettingsFile());
        TMainForm& main = Create();
        QAction* item = main.*(c.item);
        item->trigger();
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(ReadFileBytes(SettingsFile()), c.expectedFile);

        item->trigger();
        EXPECT_FALSE(item->isChecked());
        std::string cleared = c.expectedFile;
        cleared[cleared.size() - 2] = '0';
        EXPECT_EQ(ReadFileBytes(SettingsFile()), cleared);
    }
}

TEST_F(MainFormToggle, StayOnTopFollowsN5InTheSameNativeWindow) {
    TMainForm& main = Create();
    main.show();
    const WId window = main.winId();
    QSignalSpy hidden(main.windowHandle(), &QWindow::visibleChanged);
    for (bool on : {true, false, true}) {
        SCOPED_TRACE(on);
        main.N5->trigger();
        EXPECT_EQ(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(main.winId(), window);
        EXPECT_TRUE(main.isVisible());
    }
    EXPECT_EQ(hidden.count(), 0);
}

// A session without stay-on-top says so once, whether N5 or the settings dialog turned it on; the setting is
// saved all the same. Where the session keeps windows on top, nothing is said.
TEST_F(MainFormToggle, ASessionWithoutStayOnTopSaysSoOnceAndStillSaves) {
    const auto tickInSettings = [this](TMainForm& main) {
        desktop.modalScripts.push_back([](QDialog& dialog) {
            dialog.findChild<QCheckBox*>(QStringLiteral("WindowTopShow"))->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("OK"))->click();
        });
        main.N8->trigger();
    };
    const auto tickN5 = [](TMainForm& main) { main.N5->trigger(); };
    for (bool keeps : {false, true}) {
        for (const auto& turnOn :
             {std::function<void(TMainForm&)>(tickN5), std::function<void(TMainForm&)>(tickInSettings)}) {
            SCOPED_TRACE(keeps);
            std::filesystem::remove(SettingsFile());
            desktop.boxes.clear();
            desktop.keepsWindowsOnTop = keeps;
            TMainForm& main = Create();
            turnOn(main);
            EXPECT_TRUE(main.N5->isChecked());
            EXPECT_NE(ReadFileBytes(SettingsFile()).find("WindowTopShow=1"), std::string::npos);
            // Off and on again: told already.
            main.N5->trigger();
            main.N5->trigger();
            EXPECT_TRUE(main.N5->isChecked());
            if (keeps) {
                EXPECT_TRUE(desktop.boxes.empty());
                continue;
            }
            ASSERT_EQ(desktop.boxes.size(), 1u);
            EXPECT_EQ(desktop.boxes[0].text,
                      QStringLiteral("このデスクトップ（Wayland）では、ウィンドウを最前面に表示できません。"
                                     "設定は保存しました。"));
            EXPECT_EQ(desktop.boxes[0].flags, mb::kIconInformation);
            EXPECT_EQ(desktop.boxes[0].parent, &main);
        }
    }

    // Started with it on, the program says nothing until the user turns it on again.
    desktop.boxes.clear();
    WriteSettings("[Start]\nWindowTopShow=1\n");
    TMainForm& main = Create();
    EXPECT_TRUE(main.N5->isChecked());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainFormToggle, AFailedWriteTakesTheCheckMarkBackSilently) {
    // Not even a session without stay-on-top says anything: nothing was saved.
    desktop.keepsWindowsOnTop = false;
    for (bool initiallyOn : {false, true}) {
        for (const ToggleCase& c : kToggles) {
            SCOPED_TRACE(testing::Message() << c.name << " initially " << initiallyOn);
            std::filesystem::remove_all(dir / "bin");
            std::filesystem::create_directory(dir / "bin");
            WriteSettings(initiallyOn ? "[ToolRunOption]\nGiveAdministrator=1\n[Start]\nWindowTopShow=1\n" : "");
            TMainForm& main = Create();
            const bool onTop = main.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            // The executable's folder turns into a regular file: the write cannot complete.
            std::filesystem::remove_all(dir / "bin");
            WriteFileBytes(dir / "bin", "");

            QAction* item = main.*(c.item);
            item->trigger();
            EXPECT_EQ(item->isChecked(), initiallyOn);
            EXPECT_EQ(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            EXPECT_TRUE(desktop.boxes.empty());
        }
    }
}

}  // namespace
}  // namespace nagitori::test
