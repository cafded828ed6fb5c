#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

typedef struct _GTestDBus GTestDBus;

namespace nagitori::test {

// A private D-Bus session bus for one test, made the process's session bus; services of the given folder start
// on demand, with their settings in a temporary home. Stopped, with what it started, when the test ends.
class TestSessionBus {
public:
    explicit TestSessionBus(const std::filesystem::path& serviceFolder = {});
    ~TestSessionBus();
    TestSessionBus(const TestSessionBus&) = delete;
    TestSessionBus& operator=(const TestSessionBus&) = delete;

    // Whether dbus-daemon is there to run one.
    static bool Available();
    // The address other connections reach it by.
    std::string Address() const;

private:
    TempDir home_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    GTestDBus* bus_ = nullptr;
};

}  // namespace nagitori::test
