#pragma once

#include <string>
#include <vector>

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

    bool operator==(const LauncherEntry&) const = default;
};

// "Application_" and the slot number 1 to 20.
std::string LauncherSlotSection(int slot);

// The slot's name: empty when the slot is not in use.
std::string ReadLauncherName(const ProfileFile& file, int slot);
// The slot's file path: what its button starts.
std::string ReadLauncherFilePath(const ProfileFile& file, int slot);
// All six values of a slot, each with its default when missing.
LauncherEntry ReadLauncherEntry(const ProfileFile& file, int slot);
// The entries of the used slots in slot order: gaps between used slots are closed.
std::vector<LauncherEntry> ReadLauncherEntries(const ProfileFile& file);

// Replaces all twenty slots in one step: the n-th entry goes to slot n with its six keys, every other
// slot section up to 20 is gone, and the rest of the file stays as it was. On failure (WriteError) the
// file is untouched. At most kLauncherSlotCount entries.
void SaveLauncherEntries(ProfileFile& file, const std::vector<LauncherEntry>& entries);

}  // namespace nagitori
