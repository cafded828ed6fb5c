#include "platform/posix/StandIns.h"

#include <algorithm>
#include <utility>

namespace nagitori::posix {

namespace {

constexpr DesktopEnvironment kDesktops[] = {DesktopEnvironment::Gnome, DesktopEnvironment::Kde,
                                            DesktopEnvironment::Xfce,  DesktopEnvironment::Lxqt,
                                            DesktopEnvironment::Mate,  DesktopEnvironment::Cinnamon};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<DesktopEnvironment> DesktopNamed(std::string_view name) {
    // Cinnamon calls itself X-Cinnamon, as names outside the registered list must begin with "X-".
    if (EqualsIgnoringAsciiCase(name, "X-Cinnamon")) {
        return DesktopEnvironment::Cinnamon;
    }
    for (const DesktopEnvironment desktop : kDesktops) {
        if (EqualsIgnoringAsciiCase(name, DesktopName(desktop))) {
            return desktop;
        }
    }
    return std::nullopt;
}

// Lower ranks are tried first.
int Rank(const AppPathCandidate& candidate, const std::vector<DesktopEnvironment>& running) {
    if (candidate.kind == StandInKind::DefaultForType || candidate.kind == StandInKind::DefaultForScheme) {
        return 0;
    }
    if (candidate.desktop == DesktopEnvironment::Any) {
        return 300;
    }
    const auto mine = std::find(running.begin(), running.end(), candidate.desktop);
    if (mine != running.end()) {
        return 100 + static_cast<int>(mine - running.begin());
    }
    return 200 + static_cast<int>(std::find(std::begin(kDesktops), std::end(kDesktops), candidate.desktop) -
                                  std::begin(kDesktops));
}

std::optional<FoundStandIn> Find(const AppPathCandidate& candidate, const PosixEnvironment& environment) {
    FoundStandIn found;
    found.candidate = &candidate;
    switch (candidate.kind) {
        case StandInKind::Program:
            if (std::optional<std::filesystem::path> program = environment.FindProgram(candidate.name)) {
                found.program = std::move(*program);
                return found;
            }
            return std::nullopt;
        case StandInKind::DesktopFile: found.application = DesktopApp::FromId(candidate.name); break;
        case StandInKind::DefaultForType: found.application = DesktopApp::DefaultForType(candidate.name); break;
        case StandInKind::DefaultForScheme: found.application = DesktopApp::DefaultForScheme(candidate.name); break;
    }
    return found.application ? std::optional(std::move(found)) : std::nullopt;
}

}  // namespace

std::vector<const AppPathCandidate*> OrderedCandidates(const AppPathEntry& entry, std::string_view currentDesktop) {
    std::vector<DesktopEnvironment> running;
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        if (const std::optional<DesktopEnvironment> desktop = DesktopNamed(currentDesktop.substr(0, colon))) {
            running.push_back(*desktop);
        }
        currentDesktop.remove_prefix(colon == std::string_view::npos ? currentDesktop.size() : colon + 1);
    }
    std::vector<const AppPathCandidate*> ordered;
    for (const AppPathCandidate& candidate : entry.candidates) {
        ordered.push_back(&candidate);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [&running](const AppPathCandidate* a, const AppPathCandidate* b) {
        return Rank(*a, running) < Rank(*b, running);
    });
    return ordered;
}

std::string FoundStandIn::Description() const {
    if (application) {
        return application->Description();
    }
    std::string text = candidate->name;
    for (const std::string& argument : candidate->arguments) {
        text += " " + argument;
    }
    return text;
}

std::optional<FoundStandIn> FindStandIn(const AppPathEntry& entry, const PosixEnvironment& environment) {
    for (const AppPathCandidate* candidate : OrderedCandidates(entry, environment.xdgCurrentDesktop)) {
        if (std::optional<FoundStandIn> found = Find(*candidate, environment)) {
            return found;
        }
    }
    return std::nullopt;
}

}  // namespace nagitori::posix
