#include <gtest/gtest.h>

#include "platform/posix/AppPaths.h"

namespace nagitori::posix {
namespace {

TEST(AppPaths, FindsWholeNamesWithoutRegardToAsciiCase) {
    const AppPaths table = {{"cmd.exe", {{"xterm", {}}}}, {"ms-settings:", {{"settings", {}}}}, {"Calc", {}}};
    struct Case {
        const char* name;
        const char* found;
    };
    for (const Case c : {Case{"cmd.exe", "cmd.exe"}, Case{"CMD.EXE", "cmd.exe"}, Case{"MS-Settings:", "ms-settings:"},
                         Case{"calc", "Calc"}, Case{"cmd", nullptr}, Case{"cmd.exe ", nullptr},
                         Case{"ms-settings", nullptr}, Case{"", nullptr}}) {
        const AppPathEntry* entry = FindAppPath(table, c.name);
        if (c.found == nullptr) {
            EXPECT_EQ(entry, nullptr) << c.name;
        } else {
            ASSERT_NE(entry, nullptr) << c.name;
            EXPECT_EQ(entry->name, c.found);
        }
    }
}

TEST(AppPaths, ShippedTableHasOneEntryPerNameAndCandidatesForEach) {
    const AppPaths& table = DefaultAppPaths();
    for (const AppPathEntry& entry : table) {
        EXPECT_EQ(FindAppPath(table, entry.name), &entry) << "a second entry shadows " << entry.name;
        EXPECT_FALSE(entry.candidates.empty()) << entry.name;
        for (const AppPathCandidate& candidate : entry.candidates) {
            EXPECT_FALSE(candidate.program.empty()) << entry.name;
            EXPECT_EQ(candidate.program.find('/'), std::string::npos) << "candidates are looked up on PATH";
        }
    }
}

}  // namespace
}  // namespace nagitori::posix
