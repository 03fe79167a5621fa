// Linux only: the time zone taken from TZ, and symbolic links.
#include "scan/file_times.h"
#include "tests/scan/file_times_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

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
