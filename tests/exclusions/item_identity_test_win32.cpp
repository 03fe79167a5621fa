// Which paths name a folder-tree item on Windows: a drive's own paths, never a path relative to a
// drive's current folder or to the current drive.
#include "exclusions/item_identity.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(ItemIdentityWindows, DrivePathsAreItemsRelativeOnesAreNot) {
    for (const char* path : {"C:\\", "c:\\Data", "D:\\a b\\c", "E:/forward/slashes"}) {
        EXPECT_EQ(PathOfIdentity(IdentityOfPath(path)), path) << path;
    }
    for (const char* path : {"C:", "C:Data", "\\Data", "Data", "C:\\Data\\"}) {
        EXPECT_FALSE(PathOfIdentity(IdentityOfPath(path))) << path;
    }
    EXPECT_EQ(ChildPath("C:\\", "Windows"), "C:\\Windows");
    EXPECT_EQ(ChildPath("C:\\Windows", "System32"), "C:\\Windows\\System32");
    EXPECT_EQ(ItemPathOfFolder("D:\\"), "D:\\");
    EXPECT_EQ(ItemPathOfFolder("D:\\mnt\\"), "D:\\mnt");
}

} // namespace
} // namespace mirelon
