// A second running copy for the lock tests: writes the keys <prefix>0 … <prefix><count - 1> of the section
// Keys into the file, each key by a write of its own, with its number as the value.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "common/Utf8Path.h"
#include "settings/ProfileFile.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE PREFIX COUNT\n", argv[0]);
        return 2;
    }
    nagitori::ProfileFile file(nagitori::PathFromUtf8(argv[1]));
    const int count = std::atoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            file.WriteInteger("Keys", argv[2] + std::to_string(i), i);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
