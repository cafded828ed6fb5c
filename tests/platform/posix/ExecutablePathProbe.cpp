// Says it has started, waits for a line on its input, then prints the settings file that the running program would use,
// so that a test can replace the executable in between, as a package upgrade does.
#include <iostream>
#include <string>

#include "platform/posix/PosixSystem.h"
#include "settings/SettingsPath.h"

int main() {
    nagitori::posix::PosixSystem system(nagitori::posix::PosixEnvironment::FromProcess(), {});
    std::cout << "started" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    std::cout << nagitori::SettingsFileBeside(system.ExecutablePath()).string() << std::endl;
    return 0;
}
