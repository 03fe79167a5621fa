// Linux only: the drive table made from this machine's mount table.
#include "scan/drive_info.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(SystemDrives, RootFileSystemIsDriveC) {
    const TcxDriveInfo drives;
    const auto c = drives.Drive(2);
    if (!c->Exists()->Value()) {
        GTEST_SKIP() << "no mount table here";
    }
    EXPECT_EQ(c->RootPath(), "/");
    EXPECT_NE(c->FileSystem(), "");
    EXPECT_GT(c->Space()->Total()->Value(), 0);
    EXPECT_GE(c->Space()->Total()->Value(), c->Space()->Used()->Value());
}

TEST(SystemDrives, RemovableAnswersOnlyForDeviceNumbers) {
    const auto source = SystemMountSource();
    EXPECT_FALSE(source->IsRemovable("../../../etc"));
    EXPECT_FALSE(source->IsRemovable("1:2/../x"));
    EXPECT_FALSE(source->IsRemovable(""));
}

} // namespace
} // namespace mirelon
