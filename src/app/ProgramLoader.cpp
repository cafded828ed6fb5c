#include <cstdio>
#include <string>

#include "app/Program.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace nagitori {

#ifdef _WIN32
int RunProgram(int argc, char** argv, InstanceClaim& claim) {
    return NagitoriRunProgram(argc, argv, claim);
}
#else
int RunProgram(int argc, char** argv, InstanceClaim& claim) {
    // Beside the executable itself, wherever the command that started it lies.
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    std::string library = length > 0 ? std::string(executable, static_cast<std::size_t>(length)) : std::string();
    library = library.substr(0, library.rfind('/') + 1) + "libnagitori_program.so";
    // Functions are bound as they are first called: binding them all up front held up every start.
    void* handle = dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
    void* entry = handle != nullptr ? dlsym(handle, "NagitoriRunProgram") : nullptr;
    if (entry == nullptr) {
        std::fprintf(stderr, "nagitori: %s\n", dlerror());
        return 1;
    }
    return reinterpret_cast<decltype(&NagitoriRunProgram)>(entry)(argc, argv, claim);
}
#endif

}  // namespace nagitori
