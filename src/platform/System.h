#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/LaunchRequest.h"
#include "platform/RunKey.h"

namespace nagitori {

// An icon as the desktop names it: names in the icon theme, best first, or an image file.
struct IconReference {
    std::vector<std::string> themeNames;
    std::filesystem::path file;

    bool Empty() const { return themeNames.empty() && file.empty(); }
};

// What a platform starts for a built-in command where that is its own choice (Linux's stand-ins).
struct StandInReport {
    std::string program;                // what a launch would start now, for people; empty when nothing is installed
    std::vector<std::string> packages;  // the packages that would provide one; empty when no program does the job
    IconReference icon;                 // the icon of what would start
};

// A program of the platform's own that a launch needs and that is not installed (Linux's pkexec).
struct MissingProgram {
    std::string program;
    std::vector<std::string> packages;  // that provide it
};

// Everything the program asks of the operating system, apart from windows. One object per run.
class System {
public:
    virtual ~System() = default;

    // Hands the request to the shell and returns at once; see LaunchSucceeded.
    virtual int ShellExecute(const LaunchRequest& request) = 0;
    virtual bool IsUserAnAdmin() = 0;
    // The user's roaming application-data folder; empty when it cannot be determined.
    virtual std::filesystem::path AppDataFolder() = 0;
    virtual std::filesystem::path ExecutablePath() = 0;
    // Whether this process may create files in the folder; false when it does not exist.
    virtual bool MayWriteFolder(const std::filesystem::path& folder) = 0;
    virtual int OsMajorVersion() = 0;
    // Null where every built-in command exists as the catalogue names it (Windows).
    virtual std::optional<StandInReport> StandInFor(const std::string& command) = 0;
    // What "runas" would need here and is not installed; null where it can raise its prompt (or needs none).
    virtual std::optional<MissingProgram> MissingElevation() = 0;
    // The icon of what a launch of `target` would start or open: the application's, else the document's
    // content type's; empty when there is none to show.
    virtual IconReference IconFor(const std::string& target) = 0;
    // Null when the list does not exist or cannot be opened for full access; never creates it.
    virtual std::unique_ptr<RunKey> OpenRunKey() = 0;
};

}  // namespace nagitori
