#include "platform/posix/AppPaths.h"

#include <algorithm>
#include <utility>

namespace nagitori::posix {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

using Candidates = std::vector<AppPathCandidate>;

// Best first: GNOME, KDE, Xfce, then the other desktops and generic programs. An empty list means there is
// nothing on Linux that does the job, so the command fails as not found instead of starting something else.
AppPaths BuildDefaultAppPaths() {
    // Lists that several commands share, such as a Windows tool and its Store counterpart.
    const Candidates terminals = {{"x-terminal-emulator", {}}, {"gnome-terminal", {}}, {"konsole", {}},
                                  {"xfce4-terminal", {}},      {"lxterminal", {}},     {"xterm", {}}};
    const Candidates settings = {{"gnome-control-center", {}},
                                 {"systemsettings", {}},
                                 {"xfce4-settings-manager", {}},
                                 {"mate-control-center", {}},
                                 {"lxqt-config", {}}};
    const Candidates calculators = {
        {"gnome-calculator", {}}, {"kcalc", {}}, {"galculator", {}}, {"mate-calc", {}}, {"xcalc", {}}};
    const Candidates paint = {{"kolourpaint", {}}, {"drawing", {}}, {"gimp", {}}};
    const Candidates browsers = {{"x-www-browser", {}}, {"firefox-esr", {}}, {"firefox", {}}, {"chromium", {}}};
    const Candidates notebooks = {{"xournalpp", {}}, {"zim", {}}};
    const Candidates mail = {{"thunderbird", {}}, {"evolution", {}}, {"kmail", {}}, {"geary", {}}};
    const Candidates players = {{"totem", {}}, {"vlc", {}}, {"dragon", {}}, {"parole", {}}};
    const Candidates systemInformation = {{"hardinfo", {}}, {"kinfocenter", {}}};

    return {
        {"eventvwr.msc", {{"gnome-logs", {}}, {"ksystemlog", {}}}},
        {"inetcpl.cpl",
         {{"gnome-control-center", {"network"}}, {"systemsettings", {"kcm_proxy"}}, {"nm-connection-editor", {}}}},
        {"cmd.exe", terminals},
        {"control", settings},
        {"compmgmt.msc", {{"gnome-disks", {}}, {"partitionmanager", {}}}},
        {"services.msc", {{"kcmshell5", {"kcm_systemd"}}}},
        {"msconfig.exe", {{"gnome-tweaks", {}}, {"systemsettings", {"kcm_autostart"}}, {"xfce4-session-settings", {}}}},
        {"msinfo32", {{"hardinfo", {}}, {"kinfocenter", {}}, {"gnome-control-center", {"info-overview"}}}},
        {"wscui.cpl", {{"gnome-software", {"--mode", "updates"}}, {"plasma-discover", {"--mode", "update"}}}},
        {"taskmgr.exe",
         {{"gnome-system-monitor", {"--show-processes-tab"}},
          {"plasma-systemmonitor", {}},
          {"xfce4-taskmanager", {}},
          {"lxtask", {}}},
         "/7"},
        {"cleanmgr.exe", {{"bleachbit", {}}, {"baobab", {}}, {"filelight", {}}}},
        {"devmgmt.msc", systemInformation},
        {"dfrgui.exe", {}},
        {"mblctr.exe",
         {{"gnome-control-center", {"power"}},
          {"systemsettings", {"kcm_powerdevilprofilesconfig"}},
          {"xfce4-power-manager-settings", {}}}},
        {"perfmon.exe",
         {{"gnome-system-monitor", {"--show-resources-tab"}},
          {"plasma-systemmonitor", {}},
          {"xfce4-taskmanager", {}},
          {"lxtask", {}}},
         "/res"},
        {"mstsc.exe", {{"remmina", {}}, {"gnome-connections", {}}, {"krdc", {}}, {"xfreerdp", {}}}},
        {"regedit.exe", {{"dconf-editor", {}}, {"xfce4-settings-editor", {}}}},
        {"dxdiag.exe", systemInformation},
        {"firewall.cpl", {{"gufw", {}}, {"firewall-config", {}}, {"systemsettings", {"kcm_firewall"}}}},
        {"powershell", terminals},
        {"explorer", {{"nautilus", {}}, {"dolphin", {}}, {"thunar", {}}, {"pcmanfm", {}}, {"nemo", {}}, {"caja", {}}}},
        {"magnify", {{"kmag", {}}, {"magnus", {}}}},
        {"mip", {}},
        {"osk", {{"onboard", {}}, {"xvkbd", {}}}},
        {"psr", {{"simplescreenrecorder", {}}, {"vokoscreenNG", {}}}},
        {"calc", calculators},
        {"mspaint", paint},
        {"notepad",
         {{"gnome-text-editor", {}},
          {"gedit", {}},
          {"kwrite", {}},
          {"kate", {}},
          {"mousepad", {}},
          {"featherpad", {}},
          {"pluma", {}}}},
        {"charmap", {{"gucharmap", {}}, {"gnome-characters", {}}, {"kcharselect", {}}}},
        {"wordpad", {{"libreoffice", {"--writer"}}, {"abiword", {}}}},
        {"iexpress", {{"file-roller", {}}, {"ark", {}}, {"xarchiver", {}}, {"engrampa", {}}}},
        {"iexplore", browsers},
        {"excel", {{"libreoffice", {"--calc"}}, {"gnumeric", {}}}},
        {"onenote", notebooks},
        {"outlook", mail},
        {"powerpnt", {{"libreoffice", {"--impress"}}}},
        {"winword", {{"libreoffice", {"--writer"}}, {"abiword", {}}}},
        {"SnippingTool",
         {{"gnome-screenshot", {"--interactive"}},
          {"spectacle", {}},
          {"xfce4-screenshooter", {}},
          {"flameshot", {"gui"}}}},
        {"wmplayer", players},
        {"xpsrchvw", {{"evince", {}}, {"okular", {}}, {"atril", {}}}},
        {"ms-clock:", {{"gnome-clocks", {}}, {"kalarm", {}}}},
        {"mswindowsvideo:", players},
        {"microsoft.windows.camera:", {{"cheese", {}}, {"kamoso", {}}, {"guvcview", {}}}},
        {"outlookcal:", {{"gnome-calendar", {}}, {"korganizer", {}}, {"evolution", {"--component=calendar"}}}},
        {"ms-settings:", settings},
        {"msnweather:", {{"gnome-weather", {}}}},
        {"calculator:", calculators},
        {"ms-get-started:", {{"yelp", {}}, {"khelpcenter", {}}}},
        {"feedback-hub:", {{"reportbug", {"--ui", "gtk"}}}},
        {"ms-photos:", {{"eog", {}}, {"gwenview", {}}, {"ristretto", {}}, {"shotwell", {}}}},
        {"ms-paint:", paint},
        {"bingmaps:", {{"gnome-maps", {}}, {"marble", {}}}},
        {"outlookmail:", mail},
        {"microsoft-edge:", browsers},
        {"zune:", {{"gnome-software", {}}, {"plasma-discover", {}}, {"synaptic-pkexec", {}}}},
        {"onenote-cmd:", notebooks},
        {"ms-people:", {{"gnome-contacts", {}}, {"kaddressbook", {}}, {"evolution", {"--component=contacts"}}}},
        {"skype:", {}},
        {"windowsdefender:", {{"clamtk", {}}}},
        {"xbox:", {{"steam", {}}}},
    };
}

}  // namespace

AppPathCandidate::AppPathCandidate(std::string name, std::vector<std::string> arguments, StandInKind kind,
                                   DesktopEnvironment desktop, std::string package)
    : name(std::move(name)),
      arguments(std::move(arguments)),
      kind(kind),
      desktop(desktop),
      package(std::move(package)) {}

AppPathEntry::AppPathEntry(std::string name, std::vector<AppPathCandidate> candidates, std::string windowsArgument)
    : name(std::move(name)), candidates(std::move(candidates)), windowsArgument(std::move(windowsArgument)) {}

const AppPaths& DefaultAppPaths() {
    static const AppPaths table = BuildDefaultAppPaths();
    return table;
}

const AppPathEntry* FindAppPath(const AppPaths& table, std::string_view name) {
    const auto found = std::find_if(table.begin(), table.end(), [name](const AppPathEntry& entry) {
        return EqualsIgnoringAsciiCase(entry.name, name);
    });
    return found == table.end() ? nullptr : &*found;
}

std::vector<std::string> StandInPackages(const AppPathEntry& entry) {
    std::vector<std::string> packages;
    for (const AppPathCandidate& candidate : entry.candidates) {
        if (!candidate.package.empty() &&
            std::find(packages.begin(), packages.end(), candidate.package) == packages.end()) {
            packages.push_back(candidate.package);
        }
    }
    return packages;
}

std::string_view DesktopName(DesktopEnvironment desktop) {
    switch (desktop) {
        case DesktopEnvironment::Any: return {};
        case DesktopEnvironment::Gnome: return "GNOME";
        case DesktopEnvironment::Kde: return "KDE";
        case DesktopEnvironment::Xfce: return "XFCE";
        case DesktopEnvironment::Lxqt: return "LXQt";
        case DesktopEnvironment::Mate: return "MATE";
        case DesktopEnvironment::Cinnamon: return "Cinnamon";
    }
    return {};
}

}  // namespace nagitori::posix
