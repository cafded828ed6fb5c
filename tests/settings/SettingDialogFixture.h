#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <memory>
#include <vector>

#include "settings/SettingDialog.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

namespace nagitori::test {

// A settings dialog over a temporary executable folder and data folder, owned by a stand-in for the
// main window that records what the dialog does to it.
class SettingDialogFixture : public ::testing::Test {
protected:
    SettingDialogFixture() {
        system.appData = dir / "config";
        std::filesystem::create_directories(DataFolder());
        std::filesystem::create_directory(dir / "bin");
        system.executable = dir / "bin" / "nagitori";
        n4.setCheckable(true);
        n5.setCheckable(true);
    }

    std::filesystem::path SettingsFile() const { return dir / "bin" / "nagitori.ini"; }
    std::filesystem::path DataFolder() const { return system.appData / "ナギトリ"; }
    std::filesystem::path LauncherFile() const { return DataFolder() / "LauncherData.ini"; }
    std::filesystem::path FileHistory() const { return DataFolder() / "ExecuteFileHistory.txt"; }
    std::filesystem::path DirectoryHistory() const { return DataFolder() / "CurrentDirectoryHistory.txt"; }
    void WriteSettings(const std::string& text) const { WriteFileBytes(SettingsFile(), text); }

    TSetting& Create() {
        dialog = std::make_unique<TSetting>(
            system, desktop, nullptr,
            SettingDialogHost{startup, [this](bool registered) { captions.push_back(registered); },
                              [this] { ++launcherReadings; }, n4, n5, [this] { ++summonKeyResets; }});
        return *dialog;
    }

    TempDir dir;
    FakeSystem system;
    FakeDesktop desktop;
    bool startup = false;
    std::vector<bool> captions;  // each caption the main window's startup button was given
    int launcherReadings = 0;
    int summonKeyResets = 0;
    QAction n4;
    QAction n5;
    std::unique_ptr<TSetting> dialog;
};

}  // namespace nagitori::test
