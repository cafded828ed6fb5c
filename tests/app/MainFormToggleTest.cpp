#include <QSignalSpy>
#include <QWindow>

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

TEST_F(MainFormToggle, AFailedWriteTakesTheCheckMarkBackSilently) {
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
