// Linux only: the time zone taken from TZ, symbolic links, and times before 1601 on tmpfs.
#include "scan/file_times.h"
#include "tests/scan/file_times_fixture.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

using namespace mirelon;
using namespace mirelon::testing;

TEST(FileTimeConversion, CurrentOffsetFollowsTheTimeZone) {
    {
        TScopedTimeZone zone("UTC-2"); // POSIX signs are inverted: two hours east of UTC
        EXPECT_EQ(CurrentUtcOffsetSeconds(), 7200);
    }
    {
        TScopedTimeZone zone("UTC");
        EXPECT_EQ(CurrentUtcOffsetSeconds(), 0);
    }
}

TEST_F(FileTimesOnDisk, AccessTimeTenUtcReadsAsNoonAtUtcPlusTwoAndRestoresToTenUtc) {
    TScopedTimeZone zone("UTC-2");
    const std::string file = dir.Write("a.txt", std::string("text"));
    const UnixTime modified{k20210615TenUtc - 5 * kDay, 777'000'000};
    SetStoredTimes(file, {k20210615TenUtc, 0}, modified);

    TDateTime accessed = -1;
    ASSERT_TRUE(ReadAccessedTime(file, accessed));
    EXPECT_NEAR(accessed, k20210615 + 0.5, kTenMicrosecondsInDays);

    SetStoredTimes(file, {k20210615TenUtc + 3 * kDay, 5}, modified); // as a later read would
    ASSERT_TRUE(RestoreAccessedTime(file, accessed));
    EXPECT_EQ(StoredAccessTime(file), (UnixTime{k20210615TenUtc, 0}));
    EXPECT_EQ(StoredModifiedTime(file), modified);
}

TEST_F(FileTimesOnDisk, LinksAndFoldersAreReadAsTheirOwnEntries) {
    const std::string target = dir.Write("target.bin", std::string(1000, 'x'));
    const std::string link = dir.File("link");
    std::filesystem::create_symlink(target, link);
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(link, facts));
    EXPECT_FALSE(facts.isRegular);
    EXPECT_EQ(facts.size, target.size());

    const std::string dangling = dir.File("dangling");
    std::filesystem::create_symlink(dir.File("nowhere"), dangling);
    TDateTime modified = 0;
    EXPECT_TRUE(ReadModifiedTime(dangling, modified));

    ASSERT_TRUE(ReadFileFacts(dir.File(""), facts));
    EXPECT_FALSE(facts.isRegular);
}

TEST_F(FileTimesOnDisk, CreationTimeIsNotSetBackWithTheOtherTwo) {
    // Where no birth time is kept, the status-change time stands in: it moves on, not back.
    const std::string file = dir.Write("a.txt", std::string("0123456789"));
    SetStoredTimes(file, {k20210615TenUtc, 250'000'000}, {k20210615TenUtc - kDay, 0});
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(file, facts));
    EXPECT_GT(facts.created, facts.accessed + 365);
}

// A file system that keeps any 64-bit time (tmpfs does, ext4 not before 1901): times outside
// the catalog's range are clamped and flagged, and the access time goes back exactly as it was
// kept, through the file's folder as the walk reads it.
TEST(FileTimesOutOfRange, AreClampedWhileTheAccessTimeIsRestoredAsKept) {
    char pattern[] = "/dev/shm/mirelon-times-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        GTEST_SKIP() << "no tmpfs at /dev/shm to keep times before 1601";
    }
    const std::string folder = pattern;
    const std::string file = folder + "/old.txt";
    std::ofstream(file) << "text";
    const UnixTime accessed{-17987443200, 250'000'000}; // 1400-01-01
    const UnixTime modified{400000000000, 0};           // in the year 14645
    SetStoredTimes(file, accessed, modified);
    if (StoredAccessTime(file) != accessed || StoredModifiedTime(file) != modified) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "the file system of /dev/shm cannot keep times before 1601";
    }

    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(handle, 0);
    const FileLocation location(file, handle, "old.txt");
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(location, facts));
    EXPECT_TRUE(facts.datesClamped);
    EXPECT_EQ(DateText(facts.accessed), "1601-01-01");
    EXPECT_EQ(DateText(facts.modified), "9999-12-31 23:59:59");
    EXPECT_EQ(facts.size, 4u);

    SetStoredTimes(file, {k20210615TenUtc, 0}, modified); // as a read would
    EXPECT_TRUE(RestoreKeptAccessTime(location, facts.accessedKept));
    EXPECT_EQ(StoredAccessTime(file), accessed);
    EXPECT_EQ(StoredModifiedTime(file), modified);
    ::close(handle);
    std::filesystem::remove_all(folder);
}
