#include <cstdio>
#include <string>

#include "app/Program.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <thread>
#endif

namespace nagitori {

#ifdef _WIN32
int RunProgram(int argc, char** argv, InstanceClaim& claim) {
    return NagitoriRunProgram(argc, argv, claim);
}
#else
// Reading the font configuration takes a good part of a start, and Qt does it only once its libraries are loaded:
// started first, it runs beside their loading and Qt's own start, and Qt finds it read or reads it itself (the
// library lets two threads do so).
std::thread FontConfigurationReading() {
    return std::thread([] {
        void* fontconfig = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_LOCAL);
        auto init = fontconfig != nullptr ? reinterpret_cast<int (*)()>(dlsym(fontconfig, "FcInit")) : nullptr;
        if (init != nullptr) {
            init();
        }
    });
}

int RunProgram(int argc, char** argv, InstanceClaim& claim) {
    std::thread fontConfiguration = FontConfigurationReading();
    // Beside the executable itself, wherever the command that started it lies.
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    std::string library = length > 0 ? std::string(executable, static_cast<std::size_t>(length)) : std::string();
    library = library.substr(0, library.rfind('/') + 1) + "libnagitori_program.so";
    // Functions are bound as they are first called: binding them all up front held up every start.
    void* handle = dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
    void* entry = handle != nullptr ? dlsym(handle, "NagitoriRunProgram") : nullptr;
    int result = 1;
    if (entry == nullptr) {
        std::fprintf(stderr, "nagitori: %s\n", dlerror());
    } else {
        result = reinterpret_cast<decltype(&NagitoriRunProgram)>(entry)(argc, argv, claim);
    }
    fontConfiguration.join();
    return result;
}
#endif

}  // namespace nagitori
