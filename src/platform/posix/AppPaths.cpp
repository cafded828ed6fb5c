#include "platform/posix/AppPaths.h"

#include <algorithm>
#include <utility>

#include "common/AsciiCase.h"

namespace nagitori::posix {

namespace {

using Candidates = std::vector<AppPathCandidate>;

constexpr DesktopEnvironment kAny = DesktopEnvironment::Any;
constexpr DesktopEnvironment kGnome = DesktopEnvironment::Gnome;
constexpr DesktopEnvironment kKde = DesktopEnvironment::Kde;
constexpr DesktopEnvironment kXfce = DesktopEnvironment::Xfce;
constexpr DesktopEnvironment kLxqt = DesktopEnvironment::Lxqt;
constexpr DesktopEnvironment kMate = DesktopEnvironment::Mate;
constexpr DesktopEnvironment kCinnamon = DesktopEnvironment::Cinnamon;

// A program on PATH with the arguments that make it do the job.
AppPathCandidate Run(std::string program, std::vector<std::string> arguments, DesktopEnvironment desktop,
                     std::string package) {
    return {std::move(program), std::move(arguments), StandInKind::Program, desktop, std::move(package)};
}

// An application by its desktop-file ID: found wherever it is installed (Flatpak and Snap too), started as its
// desktop file says.
AppPathCandidate App(std::string id, DesktopEnvironment desktop, std::string package) {
    return {std::move(id), {}, StandInKind::DesktopFile, desktop, std::move(package)};
}

// The user's own choice of application for a content type or a URI scheme.
AppPathCandidate DefaultFor(std::string contentType) {
    return {std::move(contentType), {}, StandInKind::DefaultForType};
}
AppPathCandidate SchemeDefault(std::string scheme) {
    return {std::move(scheme), {}, StandInKind::DefaultForScheme};
}

// Each entry does the Windows command's job, or its central part; an entry without candidates has no
// counterpart on Linux, so the command fails as not found instead of starting something else. Lists shared by
// two commands are one job under two names (a Windows tool and its Store counterpart). Within an entry the
// order counts only among candidates of the same rank (see OrderedAttempts).
AppPaths BuildDefaultAppPaths() {
    const Candidates terminals = {App("xfce4-terminal-emulator.desktop", kXfce, "xfce4-settings"),
                                  App("org.gnome.Terminal.desktop", kGnome, "gnome-terminal"),
                                  App("org.gnome.Console.desktop", kGnome, "gnome-console"),
                                  App("org.kde.konsole.desktop", kKde, "konsole"),
                                  App("xfce4-terminal.desktop", kXfce, "xfce4-terminal"),
                                  App("qterminal.desktop", kLxqt, "qterminal"),
                                  App("mate-terminal.desktop", kMate, "mate-terminal"),
                                  Run("x-terminal-emulator", {}, kAny, ""),
                                  App("lxterminal.desktop", kAny, "lxterminal"),
                                  App("debian-xterm.desktop", kAny, "xterm").Fallback()};
    const Candidates settings = {App("org.gnome.Settings.desktop", kGnome, "gnome-control-center"),
                                 App("systemsettings.desktop", kKde, "systemsettings"),
                                 App("xfce-settings-manager.desktop", kXfce, "xfce4-settings"),
                                 App("lxqt-config.desktop", kLxqt, "lxqt-config"),
                                 App("matecc.desktop", kMate, "mate-control-center"),
                                 App("cinnamon-settings.desktop", kCinnamon, "cinnamon")};
    const Candidates calculators = {App("org.gnome.Calculator.desktop", kGnome, "gnome-calculator"),
                                    App("org.kde.kcalc.desktop", kKde, "kcalc"),
                                    App("mate-calc.desktop", kMate, "mate-calc"),
                                    App("galculator.desktop", kAny, "galculator"),
                                    App("qalculate-gtk.desktop", kAny, "qalculate-gtk"),
                                    App("speedcrunch.desktop", kAny, "speedcrunch"),
                                    Run("xcalc", {}, kAny, "x11-apps").Fallback()};
    const Candidates paint = {App("com.github.maoschanz.drawing.desktop", kGnome, "drawing"),
                              App("org.kde.kolourpaint.desktop", kKde, "kolourpaint"),
                              App("org.kde.krita.desktop", kKde, "krita"), App("gimp.desktop", kAny, "gimp"),
                              App("mypaint.desktop", kAny, "mypaint")};
    const Candidates browsers = {SchemeDefault("http"),
                                 App("org.gnome.Epiphany.desktop", kGnome, "epiphany-browser"),
                                 App("org.kde.falkon.desktop", kKde, "falkon"),
                                 App("org.kde.konqueror.desktop", kKde, "konqueror").Fallback(),
                                 App("firefox-esr.desktop", kAny, "firefox-esr"),
                                 App("chromium.desktop", kAny, "chromium"),
                                 Run("x-www-browser", {}, kAny, "").Fallback()};
    const Candidates notebooks = {App("org.gnome.Gnote.desktop", kGnome, "gnote"),
                                  App("org.kde.knotes.desktop", kKde, "knotes"),
                                  App("feathernotes.desktop", kLxqt, "feathernotes"),
                                  App("zim.desktop", kAny, "zim"),
                                  App("cherrytree.desktop", kAny, "cherrytree"),
                                  App("com.github.xournalpp.xournalpp.desktop", kAny, "xournalpp")};
    const Candidates writer = {App("libreoffice-writer.desktop", kAny, "libreoffice-writer"),
                               App("abiword.desktop", kAny, "abiword"),
                               App("org.kde.calligrawords.desktop", kKde, "calligrawords")};

    return {
        {"eventvwr.msc",
         {App("org.gnome.Logs.desktop", kGnome, "gnome-logs"), App("org.kde.ksystemlog.desktop", kKde, "ksystemlog"),
          App("mate-system-log.desktop", kMate, "mate-utils")}},
        {"inetcpl.cpl",
         {App("gnome-network-panel.desktop", kGnome, "gnome-control-center"),
          // Plasma 5 names a settings module after its service file, which here lacks the "kcm_" prefix.
          Run("systemsettings", {"proxy"}, kKde, "systemsettings").Requires("kservices5/proxy.desktop"),
          App("mate-network-properties.desktop", kMate, "mate-control-center"),
          App("cinnamon-network-panel.desktop", kCinnamon, "cinnamon-control-center"),
          Run("firefox-esr", {"about:preferences"}, kAny, "firefox-esr")}},
        {"cmd.exe", terminals},
        {"control", settings},
        {"compmgmt.msc",
         {App("org.gnome.DiskUtility.desktop", kGnome, "gnome-disk-utility"),
          App("org.kde.partitionmanager.desktop", kKde, "partitionmanager"), App("gparted.desktop", kAny, "gparted")}},
        {"services.msc",
         {Run("kcmshell5", {"kcm_systemd"}, kKde, "kde-config-systemd").Requires("kservices5/kcm_systemd.desktop")}},
        {"msconfig.exe",
         {App("org.gnome.tweaks.desktop", kGnome, "gnome-tweaks"),
          App("kcm_autostart.desktop", kKde, "plasma-workspace"),
          App("xfce-session-settings.desktop", kXfce, "xfce4-session"),
          App("lxqt-config-session.desktop", kLxqt, "lxqt-session"),
          App("mate-session-properties.desktop", kMate, "mate-session-manager"),
          App("cinnamon-settings-startup.desktop", kCinnamon, "cinnamon")}},
        {"msinfo32",
         {App("gnome-info-overview-panel.desktop", kGnome, "gnome-control-center"),
          App("org.kde.kinfocenter.desktop", kKde, "kinfocenter"),
          App("xfce4-about.desktop", kXfce, "libxfce4ui-utils"),
          Run("mate-system-monitor", {"--show-system-tab"}, kMate, "mate-system-monitor"),
          App("cinnamon-settings-info.desktop", kCinnamon, "cinnamon"), App("hardinfo.desktop", kAny, "hardinfo")}},
        {"wscui.cpl",
         {Run("gnome-software", {"--mode", "updates"}, kGnome, "gnome-software"),
          Run("plasma-discover", {"--mode", "update"}, kKde, "plasma-discover"),
          App("synaptic.desktop", kAny, "synaptic").Fallback()}},
        {"taskmgr.exe",
         {Run("gnome-system-monitor", {"--show-processes-tab"}, kGnome, "gnome-system-monitor"),
          Run("plasma-systemmonitor", {"--page-id", "processes.page"}, kKde, "plasma-systemmonitor"),
          App("xfce4-taskmanager.desktop", kXfce, "xfce4-taskmanager"), App("qps.desktop", kLxqt, "qps"),
          Run("mate-system-monitor", {"--show-processes-tab"}, kMate, "mate-system-monitor"),
          App("lxtask.desktop", kAny, "lxtask"),
          App("gnome-system-monitor.desktop", kGnome, "gnome-system-monitor").Fallback()},
         "/7"},
        {"cleanmgr.exe",
         {App("gnome-usage-panel.desktop", kGnome, "gnome-control-center"),
          App("org.kde.sweeper.desktop", kKde, "sweeper"), App("org.bleachbit.BleachBit.desktop", kAny, "bleachbit")}},
        {"devmgmt.msc",
         {Run("kcmshell5", {"kcm_devinfo"}, kKde, "kinfocenter").Requires("applications/org.kde.kinfocenter.desktop"),
          App("hardinfo.desktop", kAny, "hardinfo"), Run("lshw-gtk", {}, kAny, "lshw-gtk")}},
        {"dfrgui.exe", {}},
        {"mblctr.exe",
         {App("gnome-power-panel.desktop", kGnome, "gnome-control-center"),
          App("kcm_powerdevilprofilesconfig.desktop", kKde, "powerdevil"),
          App("xfce4-power-manager-settings.desktop", kXfce, "xfce4-power-manager"),
          App("lxqt-config-powermanagement.desktop", kLxqt, "lxqt-powermanagement"),
          App("mate-power-preferences.desktop", kMate, "mate-power-manager"),
          App("cinnamon-settings-power.desktop", kCinnamon, "cinnamon")}},
        {"perfmon.exe",
         {Run("gnome-system-monitor", {"--show-resources-tab"}, kGnome, "gnome-system-monitor"),
          Run("plasma-systemmonitor", {"--page-id", "overview.page"}, kKde, "plasma-systemmonitor"),
          App("xfce4-taskmanager.desktop", kXfce, "xfce4-taskmanager"),
          Run("mate-system-monitor", {"--show-resources-tab"}, kMate, "mate-system-monitor"),
          App("qps.desktop", kLxqt, "qps"), App("lxtask.desktop", kAny, "lxtask"),
          App("gnome-system-monitor.desktop", kGnome, "gnome-system-monitor").Fallback()},
         "/res"},
        {"mstsc.exe",
         {App("org.gnome.Connections.desktop", kGnome, "gnome-connections"), App("org.kde.krdc.desktop", kKde, "krdc"),
          App("org.remmina.Remmina.desktop", kAny, "remmina"), App("vinagre.desktop", kAny, "vinagre").Fallback()}},
        {"regedit.exe",
         {App("ca.desrt.dconf-editor.desktop", kGnome, "dconf-editor"),
          App("xfce4-settings-editor.desktop", kXfce, "xfce4-settings")}},
        {"dxdiag.exe",
         {Run("kcmshell5", {"kcm_glx"}, kKde, "kinfocenter")
              .Requires("applications/org.kde.kinfocenter.desktop")
              .Needs("glxinfo", "mesa-utils"),
          App("hardinfo.desktop", kAny, "hardinfo")}},
        {"firewall.cpl",
         {App("kcm_firewall.desktop", kKde, "plasma-firewall"), App("gufw.desktop", kAny, "gufw"),
          App("firewall-config.desktop", kAny, "firewall-config")}},
        {"powershell", terminals},
        {"explorer",
         {DefaultFor("inode/directory"), App("org.gnome.Nautilus.desktop", kGnome, "nautilus"),
          App("org.kde.dolphin.desktop", kKde, "dolphin"), App("thunar.desktop", kXfce, "thunar"),
          App("pcmanfm-qt.desktop", kLxqt, "pcmanfm-qt"), App("caja-browser.desktop", kMate, "caja"),
          App("nemo.desktop", kCinnamon, "nemo"), App("pcmanfm.desktop", kAny, "pcmanfm")}},
        {"magnify",
         {Run("gsettings", {"set", "org.gnome.desktop.a11y.applications", "screen-magnifier-enabled", "true"}, kGnome,
              "libglib2.0-bin")
              .OnlyOnItsDesktop(),
          App("org.kde.kmag.desktop", kKde, "kmag"),
          Run("gsettings", {"set", "org.cinnamon.desktop.a11y.applications", "screen-magnifier-enabled", "true"},
              kCinnamon, "libglib2.0-bin")
              .OnlyOnItsDesktop(),
          App("magnus.desktop", kAny, "magnus")}},
        {"mip", {}},
        {"osk",
         {Run("gsettings", {"set", "org.gnome.desktop.a11y.applications", "screen-keyboard-enabled", "true"}, kGnome,
              "libglib2.0-bin")
              .OnlyOnItsDesktop(),
          App("cinnamon-onscreen-keyboard.desktop", kCinnamon, "cinnamon").OnlyOnItsDesktop(),
          App("onboard.desktop", kAny, "onboard"), App("xvkbd.desktop", kAny, "xvkbd").Fallback(),
          App("inputmethods-matchbox-keyboard.desktop", kAny, "matchbox-keyboard").Fallback()}},
        {"psr",
         {App("simplescreenrecorder.desktop", kAny, "simplescreenrecorder"),
          App("vokoscreenNG.desktop", kAny, "vokoscreen-ng"), App("kazam.desktop", kAny, "kazam"),
          App("com.uploadedlobster.peek.desktop", kAny, "peek"),
          App("com.obsproject.Studio.desktop", kAny, "obs-studio").Fallback()}},
        {"calc", calculators},
        {"mspaint", paint},
        {"notepad",
         {DefaultFor("text/plain"), App("org.gnome.TextEditor.desktop", kGnome, "gnome-text-editor"),
          App("org.gnome.gedit.desktop", kGnome, "gedit"), App("org.kde.kwrite.desktop", kKde, "kwrite"),
          App("org.kde.kate.desktop", kKde, "kate"), App("org.xfce.mousepad.desktop", kXfce, "mousepad"),
          App("featherpad.desktop", kLxqt, "featherpad"), App("pluma.desktop", kMate, "pluma")}},
        {"charmap",
         {App("org.gnome.Characters.desktop", kGnome, "gnome-characters"),
          App("org.kde.kcharselect.desktop", kKde, "kcharselect"), App("gucharmap.desktop", kAny, "gucharmap")}},
        {"wordpad", writer},
        {"iexpress",
         {App("org.gnome.FileRoller.desktop", kGnome, "file-roller"), App("org.kde.ark.desktop", kKde, "ark"),
          App("xarchiver.desktop", kXfce, "xarchiver"), App("lxqt-archiver.desktop", kLxqt, "lxqt-archiver"),
          App("engrampa.desktop", kMate, "engrampa")}},
        {"iexplore", browsers},
        {"excel",
         {App("libreoffice-calc.desktop", kAny, "libreoffice-calc"), App("gnumeric.desktop", kAny, "gnumeric"),
          App("org.kde.calligrasheets.desktop", kKde, "calligrasheets")}},
        {"onenote", notebooks},
        {"outlook",
         {SchemeDefault("mailto"), App("org.gnome.Evolution.desktop", kGnome, "evolution"),
          App("org.gnome.Geary.desktop", kGnome, "geary"), App("org.kde.kontact.desktop", kKde, "kontact"),
          App("org.kde.kmail2.desktop", kKde, "kmail"), App("thunderbird.desktop", kAny, "thunderbird"),
          App("claws-mail.desktop", kAny, "claws-mail"), App("sylpheed.desktop", kAny, "sylpheed")}},
        {"powerpnt",
         {App("libreoffice-impress.desktop", kAny, "libreoffice-impress"),
          App("org.kde.calligrastage.desktop", kKde, "calligrastage")}},
        {"winword", writer},
        {"SnippingTool",
         {App("org.gnome.Screenshot.desktop", kGnome, "gnome-screenshot"),
          App("org.kde.spectacle.desktop", kKde, "kde-spectacle"),
          App("xfce4-screenshooter.desktop", kXfce, "xfce4-screenshooter"),
          App("screengrab.desktop", kLxqt, "screengrab"), App("mate-screenshot.desktop", kMate, "mate-utils"),
          Run("flameshot", {"launcher"}, kAny, "flameshot")}},
        {"wmplayer",
         {DefaultFor("audio/mpeg"), App("org.gnome.Totem.desktop", kGnome, "totem"),
          App("org.gnome.Music.desktop", kGnome, "gnome-music"),
          App("org.gnome.Rhythmbox3.desktop", kGnome, "rhythmbox"), App("org.kde.elisa.desktop", kKde, "elisa"),
          App("org.kde.juk.desktop", kKde, "juk"), App("org.kde.dragonplayer.desktop", kKde, "dragonplayer"),
          App("org.xfce.Parole.desktop", kXfce, "parole"), App("vlc.desktop", kAny, "vlc"),
          App("smplayer.desktop", kAny, "smplayer"), App("audacious.desktop", kAny, "audacious"),
          App("io.github.celluloid_player.Celluloid.desktop", kAny, "celluloid"), App("mpv.desktop", kAny, "mpv")}},
        {"xpsrchvw",
         {DefaultFor("application/vnd.ms-xpsdocument"), App("org.gnome.Evince.desktop", kGnome, "evince"),
          App("org.kde.okular.desktop", kKde, "okular"), App("atril.desktop", kMate, "atril")}},
        {"ms-clock:",
         {App("org.gnome.clocks.desktop", kGnome, "gnome-clocks"), App("org.kde.kalarm.desktop", kKde, "kalarm"),
          App("org.xfce.orage.globaltime.desktop", kXfce, "orage")}},
        {"mswindowsvideo:",
         {DefaultFor("video/mp4"), App("org.gnome.Totem.desktop", kGnome, "totem"),
          App("org.kde.dragonplayer.desktop", kKde, "dragonplayer"), App("org.xfce.Parole.desktop", kXfce, "parole"),
          App("vlc.desktop", kAny, "vlc"), App("smplayer.desktop", kAny, "smplayer"),
          App("io.github.celluloid_player.Celluloid.desktop", kAny, "celluloid"), App("mpv.desktop", kAny, "mpv")}},
        {"microsoft.windows.camera:",
         {App("org.gnome.Cheese.desktop", kGnome, "cheese"), App("org.kde.kamoso.desktop", kKde, "kamoso"),
          App("guvcview.desktop", kAny, "guvcview"), App("webcamoid.desktop", kAny, "webcamoid")}},
        {"outlookcal:",
         {App("org.gnome.Calendar.desktop", kGnome, "gnome-calendar"),
          Run("evolution", {"--component=calendar"}, kGnome, "evolution"),
          App("org.kde.korganizer.desktop", kKde, "korganizer"), App("org.xfce.orage.desktop", kXfce, "orage"),
          Run("thunderbird", {"-calendar"}, kAny, "thunderbird")}},
        {"ms-settings:", settings},
        {"msnweather:",
         {App("org.gnome.Weather.desktop", kGnome, "gnome-weather"), App("meteo-qt.desktop", kLxqt, "meteo-qt")}},
        {"calculator:", calculators},
        {"ms-get-started:",
         {App("yelp.desktop", kGnome, "yelp"), App("org.kde.plasma-welcome.desktop", kKde, "plasma-welcome"),
          App("org.kde.khelpcenter.desktop", kKde, "khelpcenter"),
          App("mate-user-guide.desktop", kMate, "mate-user-guide"), Run("xfhelp4", {}, kXfce, "libxfce4ui-utils")}},
        {"feedback-hub:", {Run("x-terminal-emulator", {"-e", "reportbug"}, kAny, "").Needs("reportbug", "reportbug")}},
        {"ms-photos:",
         {DefaultFor("image/jpeg"), App("org.gnome.eog.desktop", kGnome, "eog"),
          App("org.gnome.Photos.desktop", kGnome, "gnome-photos"), App("org.kde.gwenview.desktop", kKde, "gwenview"),
          App("org.xfce.ristretto.desktop", kXfce, "ristretto"), App("lximage-qt.desktop", kLxqt, "lximage-qt"),
          App("eom.desktop", kMate, "eom"), App("shotwell.desktop", kAny, "shotwell")}},
        {"ms-paint:", paint},
        {"bingmaps:",
         {App("org.gnome.Maps.desktop", kGnome, "gnome-maps"), App("org.kde.marble.desktop", kKde, "marble"),
          App("org.kde.marble-qt.desktop", kAny, "marble-qt")}},
        {"outlookmail:",
         {SchemeDefault("mailto"), App("org.gnome.Evolution.desktop", kGnome, "evolution"),
          App("org.gnome.Geary.desktop", kGnome, "geary"), App("org.kde.kmail2.desktop", kKde, "kmail"),
          App("thunderbird.desktop", kAny, "thunderbird"), App("claws-mail.desktop", kAny, "claws-mail"),
          App("sylpheed.desktop", kAny, "sylpheed")}},
        {"microsoft-edge:", browsers},
        {"zune:",
         {App("org.gnome.Software.desktop", kGnome, "gnome-software"),
          App("org.kde.discover.desktop", kKde, "plasma-discover"),
          App("synaptic.desktop", kAny, "synaptic").Fallback()}},
        {"onenote-cmd:", notebooks},
        {"ms-people:",
         {App("org.gnome.Contacts.desktop", kGnome, "gnome-contacts"),
          Run("evolution", {"--component=contacts"}, kGnome, "evolution"),
          App("org.kde.kaddressbook.desktop", kKde, "kaddressbook"),
          Run("thunderbird", {"-addressbook"}, kAny, "thunderbird")}},
        {"skype:", {SchemeDefault("skype")}},
        {"windowsdefender:",
         {App("clamtk.desktop", kAny, "clamtk"),
          App("gnome-firmware-security-panel.desktop", kGnome, "gnome-control-center").Fallback(),
          Run("kcmshell5", {"kcm_firmware_security"}, kKde, "kinfocenter")
              .Fallback()
              .Requires("applications/org.kde.kinfocenter.desktop")
              .Needs("fwupdmgr", "fwupd")}},
        {"xbox:", {App("steam.desktop", kAny, "steam-installer")}},
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

AppPathCandidate AppPathCandidate::Fallback() && {
    tier = StandInTier::Fallback;
    return std::move(*this);
}

AppPathCandidate AppPathCandidate::OnlyOnItsDesktop() && {
    tier = StandInTier::OwnDesktopOnly;
    return std::move(*this);
}

AppPathCandidate AppPathCandidate::Requires(std::string dataFile) && {
    requiredData = std::move(dataFile);
    return std::move(*this);
}

AppPathCandidate AppPathCandidate::Needs(std::string program, std::string package) && {
    requiredProgram = std::move(program);
    requiredPackage = std::move(package);
    return std::move(*this);
}

std::string AppPathCandidate::Packages() const {
    if (package.empty() || requiredPackage.empty()) {
        return package + requiredPackage;
    }
    return package + " + " + requiredPackage;
}

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
