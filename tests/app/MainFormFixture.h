#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Main.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

namespace nagitori::test {

// A main window over a temporary executable folder and application-data folder.
class MainFormFixture : public ::testing::Test {
protected:
    MainFormFixture() {
        system.appData = dir / "config";
        std::filesystem::create_directory(system.appData);
        std::filesystem::create_directory(dir / "bin");
        system.executable = dir / "bin" / "nagitori";
    }

    std::filesystem::path SettingsFile() const { return dir / "bin" / "nagitori.ini"; }
    std::filesystem::path DataFolder() const { return system.appData / "ナギトリ"; }
    void WriteSettings(const std::string& text) const { WriteFileBytes(SettingsFile(), text); }

    TMainForm& Create() {
        form = std::make_unique<TMainForm>(system, desktop);
        return *form;
    }

    TempDir dir;
    FakeSystem system;
    FakeDesktop desktop;
    std::unique_ptr<TMainForm> form;
};

}  // namespace nagitori::test
