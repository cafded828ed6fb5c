#include "support/FakeSystem.h"

#include <algorithm>

#include "common/Error.h"

namespace nagitori::test {

namespace {

class FakeRunKey : public RunKey {
public:
    explicit FakeRunKey(FakeRunKeyStore& store) : store_(store) {}

    std::string ReadString(const std::string& name) override {
        if (std::find(store_.wrongType.begin(), store_.wrongType.end(), name) != store_.wrongType.end()) {
            throw Error(RunKeyWrongTypeMessage(name));
        }
        auto it = store_.values.find(name);
        return it == store_.values.end() ? std::string() : it->second;
    }

    void WriteString(const std::string& name, const std::string& data) override {
        if (store_.writeFails) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
        store_.values[name] = data;
    }

    void DeleteValue(const std::string& name) override { store_.values.erase(name); }

private:
    FakeRunKeyStore& store_;
};

}  // namespace

int FakeSystem::ShellExecute(const LaunchRequest& request) {
    launches.push_back(request);
    if (shellThrows) {
        throw Error("launch failed");
    }
    return shellResult;
}

FakeSystem::~FakeSystem() {
    std::unique_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return lookups_ == 0; });
}

void FakeSystem::ReleaseLookups() {
    const std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

std::unique_lock<std::mutex> FakeSystem::EnterLookup(const std::string& what) {
    std::unique_lock lock(mutex_);
    ++lookups_;
    if (hangingLookups.count(what) != 0) {
        changed_.wait(lock, [this] { return released_; });
    }
    return lock;
}

void FakeSystem::LeaveLookup(std::unique_lock<std::mutex>& lock) {
    --lookups_;
    changed_.notify_all();
    lock.unlock();
}

std::optional<StandInReport> FakeSystem::StandInFor(const std::string& command) {
    std::unique_lock lock = EnterLookup(command);
    const auto it = standIns.find(command);
    std::optional<StandInReport> report = it == standIns.end() ? std::nullopt : std::optional(it->second);
    LeaveLookup(lock);
    return report;
}

IconReference FakeSystem::IconFor(const std::string& target) {
    std::unique_lock lock = EnterLookup(target);
    iconRequests.push_back(target);
    const auto it = icons.find(target);
    IconReference icon = it == icons.end() ? IconReference() : it->second;
    LeaveLookup(lock);
    return icon;
}

std::unique_ptr<RunKey> FakeSystem::OpenRunKey() {
    if (!runKey.opens) {
        return nullptr;
    }
    return std::make_unique<FakeRunKey>(runKey);
}

}  // namespace nagitori::test
