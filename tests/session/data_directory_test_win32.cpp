// Where an installed program keeps its data on Windows: programs inside "Program Files" keep it
// in the user's local application data folder.
#include "session/data_directory.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(DataDirectoryWindows, ProgramsUnderProgramFilesKeepTheirDataInLocalAppData) {
    EXPECT_TRUE(IsInstalledProgramDirectory("C:\\Program Files\\Mirelon\\"));
    EXPECT_TRUE(IsInstalledProgramDirectory("c:\\PROGRAM FILES (X86)\\Mirelon\\bin\\"));
    EXPECT_TRUE(IsInstalledProgramDirectory("D:\\Program Files\\"));
    EXPECT_FALSE(IsInstalledProgramDirectory("C:\\Tools\\Mirelon\\"));
    EXPECT_FALSE(IsInstalledProgramDirectory("C:\\Program Files Backup\\Mirelon\\"));
    EXPECT_FALSE(IsInstalledProgramDirectory("C:\\Users\\ann\\bin\\"));

    EXPECT_EQ(LocalAppDataDirectory("C:\\Users\\ann\\AppData\\Local", "C:\\Users\\ann"),
              "C:\\Users\\ann\\AppData\\Local\\Mirelon\\");
    EXPECT_EQ(LocalAppDataDirectory("D:\\Data\\", ""), "D:\\Data\\Mirelon\\");
    EXPECT_EQ(LocalAppDataDirectory("", "C:\\Users\\ann"),
              "C:\\Users\\ann\\AppData\\Local\\Mirelon\\");
    EXPECT_EQ(LocalAppDataDirectory("relative", "C:\\Users\\ann\\"),
              "C:\\Users\\ann\\AppData\\Local\\Mirelon\\");
    EXPECT_EQ(LocalAppDataDirectory("relative", ""), "");
}

} // namespace
} // namespace mirelon
