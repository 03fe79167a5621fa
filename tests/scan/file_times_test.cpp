#include "scan/file_times.h"
#include "tests/scan/file_times_fixture.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <system_error>

using namespace mirelon;
using namespace mirelon::testing;

namespace {

UnixTime RoundTrip(UnixTime time, int64_t offset) {
    UnixTime back;
    LocalDateTimeToUnix(UnixToLocalDateTime(time.seconds, time.nanoseconds, offset), offset,
                        back.seconds, back.nanoseconds);
    return back;
}

void ExpectIllegalDateTime(const std::function<void()>& action) {
    try {
        action();
        ADD_FAILURE() << "no error raised";
    } catch (const std::range_error& error) {
        EXPECT_STREQ(error.what(), "Error illegal date or time format");
    }
}

} // namespace

TEST(FileTimeConversion, PlacesDaysAndTimeOfDayOnTheDateTimeScale) {
    EXPECT_EQ(UnixToLocalDateTime(0, 0, 0), 25569.0);
    EXPECT_NEAR(UnixToLocalDateTime(k20210615TenUtc, 0, 0), k20210615 + 10.0 / 24, 1e-9);
    EXPECT_NEAR(UnixToLocalDateTime(k20210615TenUtc, 0, 7200), k20210615 + 0.5, 1e-9);
    EXPECT_NEAR(UnixToLocalDateTime(k20210615TenUtc, 0, -36000), k20210615, 1e-9);
    // Before day 0 the scale stays linear: 1899-12-29 06:00 is -0.75.
    EXPECT_NEAR(UnixToLocalDateTime((-kUnixEpochDay - 1) * kDay + 6 * 3600, 0, 0), -0.75, 1e-9);
}

TEST(FileTimeConversion, InverseRecoversEveryMillisecondInstant) {
    for (int64_t offset : {int64_t{0}, int64_t{7200}, int64_t{-18000}, int64_t{19800}}) {
        for (int64_t seconds : {int64_t{0}, int64_t{-1}, k20210615TenUtc, int64_t{-2208988800},
                                int64_t{-11644473600} + 86400, int64_t{253402300799}}) {
            for (uint32_t ms : {0u, 1u, 499u, 500u, 999u}) {
                const UnixTime time{seconds, ms * 1'000'000};
                EXPECT_EQ(RoundTrip(time, offset), time) << seconds << "." << ms << " @" << offset;
            }
        }
    }
}

TEST(FileTimeConversion, InverseRoundsToTheNearestMillisecond) {
    EXPECT_EQ(RoundTrip({100, 999'600'000}, 0), (UnixTime{101, 0}));
    EXPECT_EQ(RoundTrip({100, 123'456'789}, 3600), (UnixTime{100, 123'000'000}));
    EXPECT_EQ(RoundTrip({-5, 400}, 0), (UnixTime{-5, 0}));
    EXPECT_EQ(RoundTrip({-5, 999'999'000}, 0), (UnixTime{-4, 0}));
}

TEST(FileTimeConversion, RejectsInstantsNoFileTimeCanHold) {
    ExpectIllegalDateTime([] { UnixToLocalDateTime(-11644473601, 0, 0); });
    ExpectIllegalDateTime([] { UnixToLocalDateTime(-11644473600, 0, -1); });
    ExpectIllegalDateTime([] { UnixToLocalDateTime(INT64_MAX, 0, 3600); });
    ExpectIllegalDateTime([] { UnixToLocalDateTime(0, 1'000'000'000, 0); });
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    ExpectIllegalDateTime([&] { LocalDateTimeToUnix(NAN, 0, seconds, nanoseconds); });
    ExpectIllegalDateTime([&] { LocalDateTimeToUnix(INFINITY, 0, seconds, nanoseconds); });
    ExpectIllegalDateTime([&] { LocalDateTimeToUnix(-109206.0, 0, seconds, nanoseconds); });
    EXPECT_NO_THROW(UnixToLocalDateTime(-11644473600, 0, 0));
}

// What the scan stores for any instant: inside the catalog's range exactly what the conversion
// gives, outside it the nearer end, said through the flag; an offset that carries the local time
// across an end counts as well.
TEST(FileTimeConversion, ClampsInstantsOutsideTheCatalogsRangeToItsEnds) {
    constexpr int64_t k1601 = -11644473600; // 1601-01-01 00:00:00 UTC
    constexpr int64_t kEnd = 253402300799;  // 9999-12-31 23:59:59 UTC
    const auto clamped = [](int64_t seconds, uint32_t nanoseconds, int64_t offset) {
        bool flag = false;
        const std::string text = DateText(ClampedLocalDateTime(seconds, nanoseconds, offset, flag));
        return text + (flag ? " clamped" : "");
    };
    EXPECT_EQ(clamped(k20210615TenUtc, 0, 7200), "2021-06-15 12:00:00");
    EXPECT_EQ(clamped(k1601, 0, 0), "1601-01-01");
    EXPECT_EQ(clamped(kEnd, 0, 0), "9999-12-31 23:59:59");
    EXPECT_EQ(clamped(kEnd - 3600, 999'999'999, 3600), "9999-12-31 23:59:59");
    EXPECT_EQ(clamped(k1601 - 1, 999'999'999, 0), "1601-01-01 clamped");
    EXPECT_EQ(clamped(k1601, 0, -18000), "1601-01-01 clamped");   // 1600-12-31 19:00 local
    EXPECT_EQ(clamped(-14818680000, 0, 0), "1601-01-01 clamped"); // 1500-06-01
    EXPECT_EQ(clamped(INT64_MIN, 0, -3600), "1601-01-01 clamped");
    EXPECT_EQ(clamped(kEnd + 1, 0, 0), "9999-12-31 23:59:59 clamped");
    EXPECT_EQ(clamped(kEnd, 0, 1), "9999-12-31 23:59:59 clamped");
    EXPECT_EQ(clamped(400000000000, 0, 0), "9999-12-31 23:59:59 clamped"); // year 14645
    EXPECT_EQ(clamped(INT64_MAX, 0, 3600), "9999-12-31 23:59:59 clamped");
    bool untouched = false;
    ClampedLocalDateTime(0, 0, 0, untouched);
    EXPECT_FALSE(untouched);
}

TEST_F(FileTimesOnDisk, RestoreOfAnUnchangedAccessTimeKeepsItsNanoseconds) {
    const std::string file = dir.Write("a.txt", std::string("text"));
    // 100 ns steps: the finest both Linux and Windows file times keep.
    const UnixTime precise{k20210615TenUtc, 123'456'700};
    SetStoredTimes(file, precise, {k20210615TenUtc, 0});
    TDateTime accessed = 0;
    ASSERT_TRUE(ReadAccessedTime(file, accessed));

    EXPECT_TRUE(RestoreAccessedTime(file, accessed));
    EXPECT_EQ(StoredAccessTime(file), precise);

    SetStoredTimes(file, {k20210615TenUtc + 60, 0}, {k20210615TenUtc, 0});
    EXPECT_TRUE(RestoreAccessedTime(file, accessed));
    EXPECT_EQ(StoredAccessTime(file), (UnixTime{k20210615TenUtc, 123'000'000}));
}

TEST_F(FileTimesOnDisk, MissingFileReadsFalseAndLeavesValuesAlone) {
    const std::string missing = dir.File("missing");
    TDateTime value = 42;
    EXPECT_FALSE(ReadCreatedTime(missing, value));
    EXPECT_FALSE(ReadModifiedTime(missing, value));
    EXPECT_FALSE(ReadAccessedTime(missing, value));
    EXPECT_EQ(value, 42);
    FileFacts facts;
    facts.size = 7;
    EXPECT_FALSE(ReadFileFacts(missing, facts));
    EXPECT_EQ(facts.size, 7u);
    EXPECT_FALSE(RestoreAccessedTime(missing, 44000.0));
    EXPECT_FALSE(RestoreAccessedTime(dir.Write("b.txt", std::string("b")), NAN));
}

TEST_F(FileTimesOnDisk, SizeOfMissingFileRaisesTheSystemError) {
    try {
        ReadFileSize(dir.File("missing"));
        FAIL() << "no error raised";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
        EXPECT_EQ(std::string(error.what()), error.code().message());
    }
}

TEST_F(FileTimesOnDisk, SparseFileOfFiveGibibytesReadsItsFullSize) {
    const std::string file = dir.Write("big.bin", std::string());
    std::filesystem::resize_file(file, 5368709120ull);
    EXPECT_EQ(ReadFileSize(file), 5368709120ull);
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(file, facts));
    EXPECT_EQ(facts.size, 5368709120ull);
    EXPECT_TRUE(facts.isRegular);
}

TEST_F(FileTimesOnDisk, FactsAgreeWithTheSingleReaders) {
    const std::string file = dir.Write("a.txt", std::string("0123456789"));
    SetStoredTimes(file, {k20210615TenUtc, 250'000'000}, {k20210615TenUtc - kDay, 0});
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(file, facts));
    TDateTime created = 0, modified = 0, accessed = 0;
    ASSERT_TRUE(ReadCreatedTime(file, created));
    ASSERT_TRUE(ReadModifiedTime(file, modified));
    ASSERT_TRUE(ReadAccessedTime(file, accessed));
    EXPECT_EQ(facts.created, created);
    EXPECT_EQ(facts.modified, modified);
    EXPECT_EQ(facts.accessed, accessed);
    EXPECT_EQ(facts.size, 10u);
    EXPECT_NEAR(facts.accessed - facts.modified, 1.0 + 0.25 / 86400, kTenMicrosecondsInDays);
}
