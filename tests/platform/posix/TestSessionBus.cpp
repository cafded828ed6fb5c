#include "TestSessionBus.h"

#include <gio/gio.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace nagitori::test {

namespace {

constexpr const char* kIsolated[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_CACHE_HOME"};

// The processes of the services the bus started, so that none outlives the test.
std::vector<guint32> ServicePids() {
    std::vector<guint32> pids;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        return pids;
    }
    GVariant* names = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "ListNames", nullptr, G_VARIANT_TYPE("(as)"),
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    GVariantIter* iter = nullptr;
    const gchar* name = nullptr;
    g_variant_get(names, "(as)", &iter);
    while (g_variant_iter_next(iter, "&s", &name)) {
        if (name[0] == ':' || g_strcmp0(name, "org.freedesktop.DBus") == 0) {
            continue;
        }
        GVariant* pid = g_dbus_connection_call_sync(
            bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetConnectionUnixProcessID",
            g_variant_new("(s)", name), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (pid != nullptr) {
            guint32 value = 0;
            g_variant_get(pid, "(u)", &value);
            if (value != static_cast<guint32>(getpid())) {
                pids.push_back(value);
            }
            g_variant_unref(pid);
        }
    }
    g_variant_iter_free(iter);
    g_variant_unref(names);
    g_object_unref(bus);
    return pids;
}

// Still running: a process that exited but was not reaped yet counts as gone.
bool Running(guint32 pid) {
    gchar* stat = nullptr;
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    if (!g_file_get_contents(path.c_str(), &stat, nullptr, nullptr)) {
        return false;
    }
    const gchar* end = strrchr(stat, ')');
    const bool running = end != nullptr && end[1] == ' ' && end[2] != 'Z';
    g_free(stat);
    return running;
}

}  // namespace

bool TestSessionBus::Available() {
    gchar* daemon = g_find_program_in_path("dbus-daemon");
    g_free(daemon);
    return daemon != nullptr;
}

TestSessionBus::TestSessionBus(const std::filesystem::path& serviceFolder) {
    // Started services inherit the bus's environment: their settings go to the temporary home.
    for (const char* name : kIsolated) {
        const char* value = g_getenv(name);
        saved_.emplace_back(name, value == nullptr ? std::optional<std::string>() : std::string(value));
        const std::filesystem::path folder = home_ / name;
        std::filesystem::create_directory(folder);
        g_setenv(name, folder.c_str(), TRUE);
    }
    bus_ = g_test_dbus_new(G_TEST_DBUS_NONE);
    if (!serviceFolder.empty()) {
        g_test_dbus_add_service_dir(bus_, serviceFolder.c_str());
    }
    g_test_dbus_up(bus_);
}

TestSessionBus::~TestSessionBus() {
    const std::vector<guint32> services = ServicePids();
    g_test_dbus_down(bus_);
    g_object_unref(bus_);
    // A service that saves its settings on the way out does so before the temporary home goes.
    for (guint32 pid : services) {
        for (int i = 0; i < 200 && Running(pid); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    for (const auto& [name, value] : saved_) {
        if (value) {
            g_setenv(name.c_str(), value->c_str(), TRUE);
        } else {
            g_unsetenv(name.c_str());
        }
    }
}

std::string TestSessionBus::Address() const {
    return g_test_dbus_get_bus_address(bus_);
}

}  // namespace nagitori::test
