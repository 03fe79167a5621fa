#include "session/data_directory.h"

#include "scan/path_separator.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirelon {
namespace {

TEST(DataDirectory, IsTheExecutablesDirectoryWithItsSeparator) {
    EXPECT_EQ(DataDirectoryOf("/opt/mirelon/bin/mirelon"), "/opt/mirelon/bin/");
    EXPECT_EQ(DataDirectoryOf("/mirelon"), "/");
    EXPECT_EQ(DataDirectoryOf("/a b/c.d/mirelon.exe"), "/a b/c.d/");
    EXPECT_EQ(DataDirectoryOf("mirelon"), "");
}

// Installed programs are those in a folder called bin; their data goes by the XDG rules.
TEST(DataDirectory, AnInstalledProgramsDataGoesToTheUsersDataFolder) {
    EXPECT_TRUE(IsInstalledProgramDirectory("/usr/bin/"));
    EXPECT_TRUE(IsInstalledProgramDirectory("/home/ann/.local/bin/"));
    EXPECT_FALSE(IsInstalledProgramDirectory("/work/build/release/app/"));
    EXPECT_FALSE(IsInstalledProgramDirectory("/opt/bin-tools/"));
    EXPECT_FALSE(IsInstalledProgramDirectory("/usr/bin/mirelon/"));

    EXPECT_EQ(UserDataDirectory("/xdg", "/home/ann"), "/xdg/mirelon/");
    EXPECT_EQ(UserDataDirectory("/xdg/", ""), "/xdg/mirelon/");
    EXPECT_EQ(UserDataDirectory("", "/home/ann"), "/home/ann/.local/share/mirelon/");
    EXPECT_EQ(UserDataDirectory("relative", "/home/ann/"), "/home/ann/.local/share/mirelon/");
    EXPECT_EQ(UserDataDirectory("relative", ""), "");
}

TEST(DataDirectory, FollowsTheRunningExecutableNotTheWorkingDirectory) {
    const std::filesystem::path before = std::filesystem::current_path();
    const std::string executable = ExecutablePath();
    ASSERT_FALSE(executable.empty());
    EXPECT_TRUE(std::filesystem::path(executable).is_absolute());
    EXPECT_TRUE(std::filesystem::exists(executable));

    std::filesystem::current_path(std::filesystem::temp_directory_path());
    const std::string directory = ApplicationDataDirectory();
    std::filesystem::current_path(before);

    EXPECT_EQ(directory, DataDirectoryOf(executable));
    EXPECT_TRUE(IsPathSeparator(directory.back()));
    EXPECT_TRUE(std::filesystem::is_directory(directory));
}

} // namespace
} // namespace mirelon
