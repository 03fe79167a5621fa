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
