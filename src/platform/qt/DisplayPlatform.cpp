#include "platform/qt/DisplayPlatform.h"

#include <cstdlib>

namespace nagitori {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Qt reads its own options with one dash or two.
bool NamesPlatform(const std::string& argument) {
    return argument == "-platform" || argument == "--platform";
}

}  // namespace

DisplaySession DisplaySession::FromProcess() {
    return {Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"),
            Variable("XDG_SESSION_TYPE")};
}

std::string ChosenDisplayPlatform(const DisplaySession& session, const std::vector<std::string>& arguments) {
    if (!session.qpaPlatform.empty()) {
        return {};
    }
    for (const std::string& argument : arguments) {
        if (NamesPlatform(argument)) {
            return {};
        }
    }
    const bool wayland = !session.waylandDisplay.empty() || session.sessionType == "wayland";
    return wayland && !session.display.empty() ? "xcb;wayland" : std::string();
}

void ChooseDisplayPlatform(int& argc, char**& argv) {
    const std::vector<std::string> given(argv, argv + argc);
    const std::string platform = ChosenDisplayPlatform(DisplaySession::FromProcess(), given);
    if (platform.empty()) {
        return;
    }
    // QApplication keeps argc and argv for the program's life.
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    arguments = given;
    if (arguments.empty()) {
        arguments.emplace_back("nagitori");
    }
    arguments.insert(arguments.end(), {"-platform", platform});
    pointers.clear();
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    argc = static_cast<int>(arguments.size());
    argv = pointers.data();
}

}  // namespace nagitori
