#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>
#include <filesystem>
#include <string>

#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

namespace nagitori::test {

// The launcher dialogs over a temporary executable folder (settings file) and data folder.
class LauncherDialogFixture : public ::testing::Test {
protected:
    LauncherDialogFixture() {
        system.appData = dir / "config";
        std::filesystem::create_directories(DataFolder());
        std::filesystem::create_directory(dir / "bin");
        system.executable = dir / "bin" / "nagitori";
    }

    std::filesystem::path DataFolder() const { return system.appData / "ナギトリ"; }
    std::filesystem::path DataFile() const { return DataFolder() / "LauncherData.ini"; }
    void WriteSettings(const std::string& text) const { WriteFileBytes(dir / "bin" / "nagitori.ini", text); }
    void WriteLauncherData(const std::string& text) const { WriteFileBytes(DataFile(), text); }

    // The text of the label that names the field.
    static QString LabelOf(const QWidget* field) {
        for (const QLabel* label : field->window()->findChildren<QLabel*>()) {
            if (label->buddy() == field) {
                return label->text();
            }
        }
        return {};
    }

    TempDir dir;
    FakeSystem system;
    FakeDesktop desktop;
};

}  // namespace nagitori::test
