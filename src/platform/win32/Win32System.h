#pragma once

#include <filesystem>
#include <memory>

#include "platform/System.h"

namespace nagitori::win32 {

// The System of Windows: the shell, the known folders, the registry and the version, through the Windows API.
class Win32System final : public System {
public:
    int ShellExecute(const LaunchRequest& request) override;
    bool IsUserAnAdmin() override;
    std::filesystem::path AppDataFolder() override;
    std::filesystem::path ExecutablePath() override;
    // Creates and drops a file there: ACLs, their inheritance and the token decide, and only a try asks all three.
    bool MayWriteFolder(const std::filesystem::path& folder) override;
    // The true major version: unlike GetVersionEx, RtlGetVersion does not depend on the manifest.
    int OsMajorVersion() override;
    std::optional<StandInReport> StandInFor(const std::string& /*command*/) override { return std::nullopt; }
    // The shell raises its own elevation prompt.
    std::optional<MissingProgram> MissingElevation() override { return std::nullopt; }
    // Buttons show no icons on Windows yet: the shell's file icons are bitmaps, not theme names.
    IconReference IconFor(const std::string& /*target*/) override { return {}; }
    std::unique_ptr<RunKey> OpenRunKey() override;
};

}  // namespace nagitori::win32
