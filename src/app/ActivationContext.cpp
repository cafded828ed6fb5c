#include "app/ActivationContext.h"

#include <charconv>
#include <cstdlib>

namespace nagitori {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : std::string();
}

}  // namespace

ActivationContext ActivationContext::FromEnvironment() {
    return {Environment("XDG_ACTIVATION_TOKEN"), Environment("DESKTOP_STARTUP_ID")};
}

std::uint32_t ActivationContext::X11Time() const {
    if (userTime != 0) {
        return userTime;
    }
    const std::string::size_type mark = startupId.rfind("_TIME");
    if (mark == std::string::npos) {
        return 0;
    }
    const char* first = startupId.data() + mark + 5;
    const char* last = startupId.data() + startupId.size();
    std::uint32_t time = 0;
    const auto [end, error] = std::from_chars(first, last, time);
    // Anything after the digits, or too many of them, and the ID does not carry a time after all.
    return error == std::errc() && end == last ? time : 0;
}

}  // namespace nagitori
