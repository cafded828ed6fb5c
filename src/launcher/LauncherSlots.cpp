#include "launcher/LauncherSlots.h"

#include <cassert>

namespace nagitori {

namespace {

constexpr char kName[] = "Name";
constexpr char kFilePath[] = "FilePath";
constexpr char kCommandLine[] = "CommandLine";
constexpr char kCurrentDirectory[] = "CurrentDirectory";
constexpr char kWindowSize[] = "WindowSize";
constexpr char kAnAdminAdd[] = "AnAdminAdd";

}  // namespace

std::string LauncherSlotSection(int slot) {
    return "Application_" + std::to_string(slot);
}

std::string ReadLauncherName(const ProfileFile& file, int slot) {
    return file.ReadString(LauncherSlotSection(slot), kName, "");
}

std::string ReadLauncherFilePath(const ProfileFile& file, int slot) {
    return file.ReadString(LauncherSlotSection(slot), kFilePath, "");
}

LauncherEntry ReadLauncherEntry(const ProfileFile& file, int slot) {
    const std::string section = LauncherSlotSection(slot);
    LauncherEntry entry;
    entry.name = file.ReadString(section, kName, "");
    entry.filePath = file.ReadString(section, kFilePath, "");
    entry.commandLine = file.ReadString(section, kCommandLine, "");
    entry.currentDirectory = file.ReadString(section, kCurrentDirectory, "");
    entry.windowSize = file.ReadInteger(section, kWindowSize, 1);
    entry.anAdminAdd = file.ReadBool(section, kAnAdminAdd, false);
    return entry;
}

std::vector<LauncherEntry> ReadLauncherEntries(const ProfileFile& file) {
    std::vector<LauncherEntry> entries;
    for (int slot = 1; slot <= kLauncherSlotCount; ++slot) {
        if (!ReadLauncherName(file, slot).empty()) {
            entries.push_back(ReadLauncherEntry(file, slot));
        }
    }
    return entries;
}

void SaveLauncherEntries(ProfileFile& file, const std::vector<LauncherEntry>& entries) {
    assert(entries.size() <= static_cast<std::size_t>(kLauncherSlotCount));
    // Composed in memory and written once, so that a failure can never leave the slots half erased.
    file.Update([&entries](IniDocument& document) {
        for (int slot = 1; slot <= kLauncherSlotCount; ++slot) {
            document.EraseSection(LauncherSlotSection(slot));
        }
        int slot = 0;
        for (const LauncherEntry& entry : entries) {
            const std::string section = LauncherSlotSection(++slot);
            document.SetValue(section, kName, entry.name);
            document.SetValue(section, kFilePath, entry.filePath);
            document.SetValue(section, kCommandLine, entry.commandLine);
            document.SetValue(section, kCurrentDirectory, entry.currentDirectory);
            document.SetValue(section, kWindowSize, std::to_string(entry.windowSize));
            document.SetValue(section, kAnAdminAdd, entry.anAdminAdd ? "1" : "0");
        }
    });
}

}  // namespace nagitori
