#include "platform/posix/StandIns.h"

#include <glib.h>

#include <algorithm>
#include <utility>

#include "common/AsciiCase.h"
#include "platform/posix/DefaultApplications.h"

namespace nagitori::posix {

namespace {

constexpr DesktopEnvironment kDesktops[] = {DesktopEnvironment::Gnome, DesktopEnvironment::Kde,
                                            DesktopEnvironment::Xfce,  DesktopEnvironment::Lxqt,
                                            DesktopEnvironment::Mate,  DesktopEnvironment::Cinnamon};

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

std::vector<DesktopEnvironment> RunningDesktops(std::string_view currentDesktop) {
    std::vector<DesktopEnvironment> running;
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        if (const std::optional<DesktopEnvironment> desktop = DesktopNamed(currentDesktop.substr(0, colon))) {
            running.push_back(*desktop);
        }
        currentDesktop.remove_prefix(colon == std::string_view::npos ? currentDesktop.size() : colon + 1);
    }
    return running;
}

bool IsDefaultKind(const AppPathCandidate& candidate) {
    return candidate.kind == StandInKind::DefaultForType || candidate.kind == StandInKind::DefaultForScheme;
}

// Lower ranks are tried first; nullopt: not at all.
std::optional<int> Rank(const AppPathCandidate& candidate, const std::vector<DesktopEnvironment>& running) {
    constexpr int kSetDefault = 0;
    constexpr int kRunningDesktop = 100;
    constexpr int kNoDesktop = 200;
    constexpr int kOtherDesktop = 300;
    constexpr int kLastResort = 400;
    if (IsDefaultKind(candidate)) {
        return kSetDefault;
    }
    const auto mine = std::find(running.begin(), running.end(), candidate.desktop);
    if (candidate.tier == StandInTier::OwnDesktopOnly && mine == running.end()) {
        return std::nullopt;
    }
    if (candidate.tier == StandInTier::Fallback) {
        return kLastResort;
    }
    if (candidate.desktop == DesktopEnvironment::Any) {
        return kNoDesktop;
    }
    if (mine != running.end()) {
        return kRunningDesktop + static_cast<int>(mine - running.begin());
    }
    return kOtherDesktop + static_cast<int>(std::find(std::begin(kDesktops), std::end(kDesktops), candidate.desktop) -
                                            std::begin(kDesktops));
}

// A file in the XDG data folders, as GIO searches them.
bool DataFileExists(const std::string& relative) {
    if (std::filesystem::exists(std::filesystem::path(g_get_user_data_dir()) / relative)) {
        return true;
    }
    for (const gchar* const* folder = g_get_system_data_dirs(); *folder != nullptr; ++folder) {
        if (std::filesystem::exists(std::filesystem::path(*folder) / relative)) {
            return true;
        }
    }
    return false;
}

std::string MimeTypeOf(const AppPathCandidate& candidate) {
    return candidate.kind == StandInKind::DefaultForScheme ? "x-scheme-handler/" + candidate.name : candidate.name;
}

std::optional<DesktopApp> FindDefault(const AppPathCandidate& candidate, bool anyRegistered,
                                      const PosixEnvironment& environment) {
    if (!anyRegistered) {
        for (const std::string& id : DefaultsSetFor(MimeTypeOf(candidate), environment.xdgCurrentDesktop)) {
            if (std::optional<DesktopApp> application = DesktopApp::FromId(id)) {
                return application;
            }
        }
        return std::nullopt;
    }
    if (candidate.kind == StandInKind::DefaultForScheme) {
        return DesktopApp::DefaultForScheme(candidate.name);
    }
    // GIO also offers applications of a parent type: an archive manager for an XPS document, a zip file.
    std::optional<DesktopApp> application = DesktopApp::DefaultForType(candidate.name);
    return application && application->Supports(candidate.name) ? application : std::nullopt;
}

std::optional<FoundStandIn> Find(const StandInAttempt& attempt, const PosixEnvironment& environment) {
    const AppPathCandidate& candidate = *attempt.candidate;
    if (!candidate.requiredData.empty() && !DataFileExists(candidate.requiredData)) {
        return std::nullopt;
    }
    // Without it the program starts and does nothing useful: an empty terminal, a page that names what is missing.
    if (!candidate.requiredProgram.empty() && !environment.FindProgram(candidate.requiredProgram)) {
        return std::nullopt;
    }
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
        case StandInKind::DefaultForType:
        case StandInKind::DefaultForScheme:
            found.application = FindDefault(candidate, attempt.anyRegistered, environment);
            break;
    }
    if (!found.application || !found.application->WrappedProgramInstalled()) {
        return std::nullopt;
    }
    return found;
}

}  // namespace

std::vector<StandInAttempt> OrderedAttempts(const AppPathEntry& entry, std::string_view currentDesktop) {
    const std::vector<DesktopEnvironment> running = RunningDesktops(currentDesktop);
    std::vector<std::pair<int, StandInAttempt>> ranked;
    for (const AppPathCandidate& candidate : entry.candidates) {
        if (const std::optional<int> rank = Rank(candidate, running)) {
            ranked.emplace_back(*rank, StandInAttempt{&candidate, false});
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<StandInAttempt> attempts;
    for (const auto& [rank, attempt] : ranked) {
        attempts.push_back(attempt);
    }
    for (const AppPathCandidate& candidate : entry.candidates) {
        if (IsDefaultKind(candidate)) {
            attempts.push_back({&candidate, true});
        }
    }
    return attempts;
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
    for (const StandInAttempt& attempt : OrderedAttempts(entry, environment.xdgCurrentDesktop)) {
        if (std::optional<FoundStandIn> found = Find(attempt, environment)) {
            return found;
        }
    }
    return std::nullopt;
}

std::vector<std::string> StandInPackages(const AppPathEntry& entry, std::string_view currentDesktop) {
    std::vector<std::string> packages;
    for (const StandInAttempt& attempt : OrderedAttempts(entry, currentDesktop)) {
        const std::string package = attempt.candidate->Packages();
        if (!package.empty() && std::find(packages.begin(), packages.end(), package) == packages.end()) {
            packages.push_back(package);
        }
    }
    return packages;
}

}  // namespace nagitori::posix
