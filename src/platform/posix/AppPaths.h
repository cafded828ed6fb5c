#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nagitori::posix {

// How a stand-in is found on this system.
enum class StandInKind {
    Program,           // a program on PATH, started with fixed arguments
    DesktopFile,       // a desktop-file ID, as GIO finds it (system, user, Flatpak and Snap applications)
    DefaultForType,    // the user's default application for a content type
    DefaultForScheme,  // the user's default application for a URI scheme
};

// The desktop a stand-in belongs to; the running one's come first.
enum class DesktopEnvironment { Any, Gnome, Kde, Xfce, Lxqt, Mate, Cinnamon };

// Where a stand-in stands among the others beyond its desktop.
enum class StandInTier {
    Normal,
    Fallback,        // a last resort, tried after every other candidate
    OwnDesktopOnly,  // tried only while its desktop runs: elsewhere it would do nothing visible
};

// A Linux program that stands in for a Windows command.
struct AppPathCandidate {
    AppPathCandidate(std::string name, std::vector<std::string> arguments = {}, StandInKind kind = StandInKind::Program,
                     DesktopEnvironment desktop = DesktopEnvironment::Any, std::string package = {});

    std::string name;                    // program, desktop-file ID ("org.gnome.Logs.desktop"), content type or scheme
    std::vector<std::string> arguments;  // a program's fixed arguments, before the launch's own
    StandInKind kind = StandInKind::Program;
    DesktopEnvironment desktop = DesktopEnvironment::Any;
    std::string package;  // the Debian package that provides it; empty for the user's default applications
    StandInTier tier = StandInTier::Normal;
    // A file in the XDG data folders without which the program starts but has nothing to show (a settings
    // module); empty when the program is enough.
    std::string requiredData;
    // A program on PATH that it runs or that its page shows the output of, without which it starts but does not
    // do the job (a terminal's command, a module's tool), and the package that provides that program.
    std::string requiredProgram;
    std::string requiredPackage;

    AppPathCandidate Fallback() &&;
    AppPathCandidate OnlyOnItsDesktop() &&;
    AppPathCandidate Requires(std::string dataFile) &&;
    AppPathCandidate Needs(std::string program, std::string package) &&;

    // What installing it takes: its package, and the one of the program it needs ("kinfocenter + mesa-utils").
    std::string Packages() const;
};

// A Windows command ("cmd.exe") or URI scheme with its colon ("ms-settings:") and its stand-ins, best first.
struct AppPathEntry {
    AppPathEntry(std::string name, std::vector<AppPathCandidate> candidates, std::string windowsArgument = {});

    std::string name;
    std::vector<AppPathCandidate> candidates;
    // An argument the catalogue always passes ("/7"). It is never handed to a stand-in: each says what it
    // means in its own fixed arguments, or nothing.
    std::string windowsArgument;
};

// This platform's equivalent of the App Paths registry and the URI scheme registrations.
using AppPaths = std::vector<AppPathEntry>;

// The table the program ships.
const AppPaths& DefaultAppPaths();

// The entry whose name equals `name` without regard to ASCII case; null when there is none.
const AppPathEntry* FindAppPath(const AppPaths& table, std::string_view name);

// The name of a desktop as XDG_CURRENT_DESKTOP spells it ("GNOME", "KDE", ...); empty for Any.
std::string_view DesktopName(DesktopEnvironment desktop);

}  // namespace nagitori::posix
