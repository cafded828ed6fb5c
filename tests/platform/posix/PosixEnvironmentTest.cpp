#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/PosixEnvironment.h"
#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

namespace fs = std::filesystem;

TEST(PosixEnvironment, FindsTheFirstExecutableFileOnPath) {
    test::TempDir temp;
    for (const char* folder : {"plain", "folder", "exec", "later"}) {
        fs::create_directory(temp / folder);
    }
    test::WriteFileBytes(temp / "plain" / "tool", "#!/bin/sh\n");
    fs::create_directory(temp / "folder" / "tool");
    for (const fs::path& tool : {temp / "exec" / "tool", temp / "later" / "tool"}) {
        test::WriteFileBytes(tool, "#!/bin/sh\n");
        fs::permissions(tool, fs::perms::owner_all);
    }
    const std::string folders = (temp / "plain").string() + ":" + (temp / "folder").string() + ":" +
                                (temp / "exec").string() + ":" + (temp / "later").string();
    const fs::path previous = fs::current_path();
    fs::current_path(temp / "later");

    struct Case {
        std::string path;
        std::string name;
        std::optional<fs::path> found;
    };
    const Case cases[] = {
        {folders, "tool", temp / "exec" / "tool"},
        {"::" + folders, "tool", temp / "later" / "tool"},  // an empty folder is the current one
        {folders, "missing", std::nullopt},
        {folders, "exec/tool", std::nullopt},
        {folders, "", std::nullopt},
        {"", "tool", std::nullopt},
    };
    for (const Case& c : cases) {
        PosixEnvironment environment;
        environment.path = c.path;
        EXPECT_EQ(environment.FindProgram(c.name), c.found) << c.path << " / " << c.name;
    }
    fs::current_path(previous);
}

}  // namespace
}  // namespace nagitori::posix
