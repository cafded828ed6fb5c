#pragma once

#include <string>

#include "settings/ProfileFile.h"

namespace nagitori {

constexpr int kLauncherSlotCount = 20;

// One registered program: the six values of a slot.
struct LauncherEntry {
    std::string name;
    std::string filePath;
    std::string commandLine;
    std::string currentDirectory;
    int windowSize = 1;
    bool anAdminAdd = false;
};

// "Application_" and the slot number 1 to 20.
std::string LauncherSlotSection(int slot);

// The slot's name: empty when the slot is not in use.
std::string ReadLauncherName(const ProfileFile& file, int slot);
// All six values of a slot, each with its default when missing.
LauncherEntry ReadLauncherEntry(const ProfileFile& file, int slot);

}  // namespace nagitori
