// Windows only: times read from the directory entry and put back with SetFileTime, in the time
// zone the system converts file times with.
#include "scan/file_times.h"
#include "tests/scan/file_times_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace mirelon;
using namespace mirelon::testing;

namespace {

// The system's own conversion of a UTC file time to local time, as a date-time.
TDateTime SystemLocalDateTime(const FILETIME& utc) {
    FILETIME local{};
    EXPECT_TRUE(::FileTimeToLocalFileTime(&utc, &local));
    const uint64_t localTicks =
        (static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    return static_cast<double>(localTicks) / 864'000'000'000.0 - 109205.0;
}

TDateTime SystemLocalDateTime(UnixTime time) {
    const uint64_t ticks = static_cast<uint64_t>(time.seconds * 10'000'000 +
                                                 time.nanoseconds / 100 + 116'444'736'000'000'000);
    return SystemLocalDateTime(
        FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)});
}

} // namespace

TEST(FileTimeConversion, CurrentOffsetIsTheSystemsOwn) {
    TIME_ZONE_INFORMATION zone{};
    const DWORD state = ::GetTimeZoneInformation(&zone);
    long bias = zone.Bias;
    if (state == TIME_ZONE_ID_DAYLIGHT) {
        bias += zone.DaylightBias;
    } else if (state == TIME_ZONE_ID_STANDARD) {
        bias += zone.StandardBias;
    }
    EXPECT_EQ(CurrentUtcOffsetSeconds(), -static_cast<int64_t>(bias) * 60);
}

TEST_F(FileTimesOnDisk, TimesRoundTripThroughSetFileTime) {
    const std::string file = dir.Write("a.txt", std::string("text"));
    const UnixTime accessedAt{k20210615TenUtc, 250'000'000};
    const UnixTime modifiedAt{k20210615TenUtc - 5 * kDay, 777'000'000};
    SetStoredTimes(file, accessedAt, modifiedAt);

    TDateTime accessed = -1, modified = -1, created = -1;
    ASSERT_TRUE(ReadAccessedTime(file, accessed));
    ASSERT_TRUE(ReadModifiedTime(file, modified));
    ASSERT_TRUE(ReadCreatedTime(file, created));
    EXPECT_NEAR(accessed, SystemLocalDateTime(accessedAt), kTenMicrosecondsInDays);
    EXPECT_NEAR(modified, SystemLocalDateTime(modifiedAt), kTenMicrosecondsInDays);
    WIN32_FILE_ATTRIBUTE_DATA entry{};
    ASSERT_TRUE(::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &entry));
    EXPECT_NEAR(created, SystemLocalDateTime(entry.ftCreationTime), kTenMicrosecondsInDays);

    SetStoredTimes(file, {k20210615TenUtc + 3 * kDay, 5'000'000}, modifiedAt); // as a read would
    ASSERT_TRUE(RestoreAccessedTime(file, accessed));
    EXPECT_EQ(StoredAccessTime(file), accessedAt);
    EXPECT_EQ(StoredModifiedTime(file), modifiedAt);
}

TEST_F(FileTimesOnDisk, ReadOnlyFileGetsItsAccessTimeBack) {
    const std::string file = dir.Write("fixed.txt", std::string("text"));
    SetStoredTimes(file, {k20210615TenUtc, 0}, {k20210615TenUtc, 0});
    TDateTime accessed = 0;
    ASSERT_TRUE(ReadAccessedTime(file, accessed));
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    SetStoredTimes(file, {k20210615TenUtc + kDay, 0}, {k20210615TenUtc, 0});
    EXPECT_TRUE(RestoreAccessedTime(file, accessed));
    EXPECT_EQ(StoredAccessTime(file), (UnixTime{k20210615TenUtc, 0}));
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileTimesOnDisk, FoldersAndDriveRootsAreReadAsTheirOwnEntries) {
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(dir.File(""), facts));
    EXPECT_FALSE(facts.isRegular);
    ASSERT_TRUE(ReadFileFacts("C:\\", facts));
    EXPECT_FALSE(facts.isRegular);
    TDateTime value = 42;
    EXPECT_FALSE(ReadModifiedTime(dir.File("*.txt"), value)); // a pattern names no file
    EXPECT_EQ(value, 42);
}
