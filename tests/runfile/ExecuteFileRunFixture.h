#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "runfile/ExecuteFileRunDialog.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

namespace nagitori::test {

// A run-a-file dialog owned by a stand-in main window, over a temporary executable folder (with a
// program in it) and a temporary application-data folder that already holds the data folder.
class ExecuteFileRunFixture : public ::testing::Test {
protected:
    ExecuteFileRunFixture() {
        system.appData = dir / "config";
        std::filesystem::create_directories(DataFolder());
        std::filesystem::create_directory(dir / "bin");
        system.executable = dir / "bin" / "nagitori";
        WriteFileBytes(Program(), "#!/bin/sh\n");
        owner.setGeometry(200, 150, 661, 404);
    }

    std::filesystem::path DataFolder() const { return system.appData / "ナギトリ"; }
    std::filesystem::path PathHistory() const { return DataFolder() / "ExecuteFileHistory.txt"; }
    std::filesystem::path DirectoryHistory() const { return DataFolder() / "CurrentDirectoryHistory.txt"; }
    std::filesystem::path Program() const { return dir / "bin" / "tool.sh"; }
    QString ProgramText() const { return QString::fromStdString(Program().string()); }
    void WriteSettings(const std::string& text) const { WriteFileBytes(dir / "bin" / "nagitori.ini", text); }

    TExecuteFileRun& Open() {
        dialog = std::make_unique<TExecuteFileRun>(system, desktop, &owner);
        return *dialog;
    }

    TempDir dir;
    FakeSystem system;
    FakeDesktop desktop;
    QWidget owner;
    std::unique_ptr<TExecuteFileRun> dialog;
};

}  // namespace nagitori::test
