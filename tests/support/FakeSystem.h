#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
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

// Records every launch and answers every question from its public fields. The lookups (StandInFor, IconFor) may run
// on other threads: set their fields before the window that asks exists, or once it has its answers.
class FakeSystem : public System {
public:
    FakeSystem() = default;
    // Lets hanging lookups go and waits until no lookup runs any more.
    ~FakeSystem() override;
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

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
    std::optional<MissingProgram> missingElevation;
    std::map<std::string, IconReference> icons;  // targets without an entry: no icon
    std::vector<std::string> iconRequests;
    // Lookups of these commands or targets wait until ReleaseLookups, as on a network mount that never answers.
    std::set<std::string> hangingLookups;

    void ReleaseLookups();

    int ShellExecute(const LaunchRequest& request) override;
    bool IsUserAnAdmin() override { return admin; }
    std::filesystem::path AppDataFolder() override { return appData; }
    std::filesystem::path ExecutablePath() override { return executable; }
    bool MayWriteFolder(const std::filesystem::path& /*folder*/) override { return foldersWritable; }
    int OsMajorVersion() override { return osMajor; }
    std::optional<StandInReport> StandInFor(const std::string& command) override;
    std::optional<MissingProgram> MissingElevation() override { return missingElevation; }
    IconReference IconFor(const std::string& target) override;
    std::unique_ptr<RunKey> OpenRunKey() override;

private:
    // A lookup holds mutex_ from EnterLookup to LeaveLookup, but for the time it hangs.
    std::unique_lock<std::mutex> EnterLookup(const std::string& what);
    void LeaveLookup(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int lookups_ = 0;
};

}  // namespace nagitori::test
