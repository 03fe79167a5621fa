#include "scan/mount_table.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(MountTable, ReadsEveryFieldAroundTheOptionalOnes) {
    const auto mounts = ParseMountInfo(
        "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:7 - ext3 /dev/root rw,errors=continue\n"
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    ASSERT_EQ(mounts.size(), 2u);
    const MountEntry& first = mounts[0];
    EXPECT_EQ(first.mountId, 36);
    EXPECT_EQ(first.parentId, 35);
    EXPECT_EQ(first.majorMinor, "98:0");
    EXPECT_EQ(first.root, "/mnt1");
    EXPECT_EQ(first.mountPoint, "/mnt2");
    EXPECT_EQ(first.mountOptions, "rw,noatime");
    EXPECT_EQ(first.fileSystem, "ext3");
    EXPECT_EQ(first.source, "/dev/root");
    EXPECT_EQ(first.superOptions, "rw,errors=continue");
    EXPECT_EQ(mounts[1].mountPoint, "/");
}

TEST(MountTable, DecodesTheKernelsOctalEscapes) {
    const auto mounts = ParseMountInfo(
        R"(40 22 8:17 /a\134b /media/ann/USB\040STICK\011tab\012line rw - vfat /dev/sdb\0401 rw)");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].root, "/a\\b");
    EXPECT_EQ(mounts[0].mountPoint, "/media/ann/USB STICK\ttab\nline");
    EXPECT_EQ(mounts[0].source, "/dev/sdb 1");
    EXPECT_EQ(DecodeMountField(R"(\303\251t\351)"), "\xC3\xA9t\xE9");
    // Not an escape: kept as written.
    EXPECT_EQ(DecodeMountField(R"(a\04 \x41 \999 end\)"), R"(a\04 \x41 \999 end\)");
}

TEST(MountTable, LeavesOutLinesOfAnotherForm) {
    const auto mounts = ParseMountInfo("\n"
                                       "garbage\n"
                                       "1 2 3:4 / /x rw shared:1 ext4 /dev/sda rw\n" // no "-"
                                       "x 2 3:4 / /x rw - ext4 /dev/sda rw\n"        // bad id
                                       "1 2 34 / /x rw - ext4 /dev/sda rw\n"         // no colon
                                       "1 2 3:4 / relative rw - ext4 /dev/sda rw\n"
                                       "1 2 3:4 / /x rw -\n"
                                       "1 2 3:4 / /ok rw - tmpfs tmpfs\n"
                                       "5 1 0:9 / /last rw - tmpfs tmpfs rw");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].mountPoint, "/ok");
    EXPECT_EQ(mounts[0].source, "tmpfs");
    EXPECT_EQ(mounts[0].superOptions, "");
    EXPECT_EQ(mounts[1].mountPoint, "/last");
}

TEST(MountTable, FindsWholeOptionsOnly) {
    EXPECT_TRUE(HasMountOption("rw,ro,noatime", "ro"));
    EXPECT_TRUE(HasMountOption("ro", "ro"));
    EXPECT_FALSE(HasMountOption("rw,errors=remount-ro", "ro"));
    EXPECT_FALSE(HasMountOption("", "ro"));
    EXPECT_FALSE(HasMountOption("rox", "ro"));
}

} // namespace
} // namespace mirelon
