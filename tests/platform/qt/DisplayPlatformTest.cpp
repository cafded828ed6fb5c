#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/DisplayPlatform.h"

namespace nagitori {
namespace {

TEST(DisplayPlatform, PrefersXWaylandOnAWaylandSessionUnlessTheUserChose) {
    struct Case {
        const char* what;
        DisplaySession session;
        std::vector<std::string> arguments;
        std::string expected;
    };
    const std::vector<std::string> plain = {"nagitori"};
    const Case cases[] = {
        {"Wayland with XWayland", {"", ":0", "wayland-0", "wayland"}, plain, "xcb;wayland"},
        {"Wayland without the session type", {"", ":1", "wayland-1", ""}, plain, "xcb;wayland"},
        {"a session type without a socket name", {"", ":0", "", "wayland"}, plain, "xcb;wayland"},
        {"Wayland without XWayland", {"", "", "wayland-0", "wayland"}, plain, ""},
        {"X11", {"", ":0", "", "x11"}, plain, ""},
        {"no display at all", {"", "", "", "tty"}, plain, ""},
        {"the user's QT_QPA_PLATFORM", {"wayland", ":0", "wayland-0", "wayland"}, plain, ""},
        {"the user's -platform", {"", ":0", "wayland-0", "wayland"}, {"nagitori", "-platform", "wayland"}, ""},
        {"the user's --platform", {"", ":0", "wayland-0", "wayland"}, {"nagitori", "--platform", "offscreen"}, ""},
        {"another option", {"", ":0", "wayland-0", "wayland"}, {"nagitori", "-style", "fusion"}, "xcb;wayland"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChosenDisplayPlatform(c.session, c.arguments), c.expected) << c.what;
    }
}

// The choice reaches Qt as an argument: the environment, which started programs inherit, stays as it was.
TEST(DisplayPlatform, AddsTheChoiceToTheArgumentsAndLeavesTheEnvironmentAlone) {
    const char* const names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : names) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value == nullptr ? std::nullopt : std::optional<std::string>(value));
    }
    unsetenv("QT_QPA_PLATFORM");
    setenv("DISPLAY", ":5", 1);
    setenv("WAYLAND_DISPLAY", "wayland-5", 1);
    setenv("XDG_SESSION_TYPE", "wayland", 1);

    char program[] = "nagitori";
    char style[] = "-style";
    char fusion[] = "fusion";
    char* given[] = {program, style, fusion, nullptr};
    int argc = 3;
    char** argv = given;
    ChooseDisplayPlatform(argc, argv);
    std::vector<std::string> arguments(argv, argv + argc);
    EXPECT_EQ(arguments, (std::vector<std::string>{"nagitori", "-style", "fusion", "-platform", "xcb;wayland"}));
    EXPECT_EQ(argv[argc], nullptr);
    EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);

    // Where nothing is to be chosen, the command line stays the same array.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    argc = 3;
    argv = given;
    ChooseDisplayPlatform(argc, argv);
    EXPECT_EQ(argv, given);
    EXPECT_EQ(argc, 3);

    for (const auto& [name, value] : saved) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
}

}  // namespace
}  // namespace nagitori
