// Linux only: the folders of the XDG base directories.
#include "session/data_directory.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

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

} // namespace
} // namespace mirelon
