#include "launcher/LauncherSlots.h"

namespace nagitori {

namespace {

constexpr char kName[] = "Name";
constexpr char kFilePath[] = "FilePath";
constexpr char kCommandLine[] = "CommandLine";
constexpr char kCurrentDirectory[] = "CurrentDirectory";
constexpr char kWindowSize[] = "WindowSize";
constexpr char kAnAdminAdd[] = "AnAdminAdd";

}  // namespace

std::string LauncherSlotSection(int slot) { return "Application_" + std::to_string(slot); }

std::string ReadLauncherName(const ProfileFile& file, int slot) {
    return file.ReadString(LauncherSlotSection(slot), kName, "");
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

}  // namespace nagitori
