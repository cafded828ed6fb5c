#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/System.h"

namespace nagitori::test {

// A scripted run key: values live in a map; a name in wrongType reads as a data-type error.
struct FakeRunKeyStore {
    bool opens = true;  // false: the key cannot be opened for full access
    bool writeFails = false;
    std::map<std::string, std::string> values;
    std::vector<std::string> wrongType;
};

// Records every launch and answers every question from its public fields.
class FakeSystem : public System {
public:
    std::vector<LaunchRequest> launches;
    int shellResult = kShellSuccess;
    bool shellThrows = false;  // the launch raises an error instead of answering
    bool admin = false;
    std::filesystem::path appData;
    std::filesystem::path executable = "/opt/nagitori/nagitori";
    bool foldersWritable = true;  // the answer of MayWriteFolder for every folder
    int osMajor = 10;
    FakeRunKeyStore runKey;
    std::map<std::string, StandInReport> standIns;  // commands without an entry: none, as on Windows
    std::map<std::string, IconReference> icons;     // targets without an entry: no icon
    std::vector<std::string> iconRequests;

    int ShellExecute(const LaunchRequest& request) override;
    bool IsUserAnAdmin() override { return admin; }
    std::filesystem::path AppDataFolder() override { return appData; }
    std::filesystem::path ExecutablePath() override { return executable; }
    bool MayWriteFolder(const std::filesystem::path& /*folder*/) override { return foldersWritable; }
    int OsMajorVersion() override { return osMajor; }
    std::optional<StandInReport> StandInFor(const std::string& command) override;
    IconReference IconFor(const std::string& target) override;
    std::unique_ptr<RunKey> OpenRunKey() override;
};

}  // namespace nagitori::test
