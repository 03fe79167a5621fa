#include "catalog/date_time.h"
#include "catalog/local_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mirelon {
namespace {

constexpr double kMs = 1.0 / 86'400'000.0;

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
             int millisecond = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, millisecond});
}

TEST(DateTimeCalendar, KnownDayNumbers) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0); // 1900 is not a leap year
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(2024, 13, 1), EncodeDate(2025, 1, 1)); // months roll over
    EXPECT_EQ(EncodeDate(2024, 0, 1), EncodeDate(2023, 12, 1));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
}

TEST(DateTimeCalendar, EveryDayDecodesToItsOwnDate) {
    TDateTime expected = EncodeDate(1599, 12, 1);
    for (int year = 1599; year <= 2101; ++year)
        for (int month = year == 1599 ? 12 : 1; month <= 12; ++month)
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                ASSERT_EQ(EncodeDate(year, month, day), expected) << year << '-' << month;
                const DateTimeParts p = DecodeDateTime(expected + 0.5);
                ASSERT_EQ(p.year, year);
                ASSERT_EQ(p.month, month);
                ASSERT_EQ(p.day, day);
                ASSERT_EQ(p.hour, 12);
                expected += 1;
            }
}

TEST(DateTimeDecode, RoundsToTheMillisecondFirst) {
    const TDateTime tenOClock = At(2024, 5, 17, 10);
    const DateTimeParts below = DecodeDateTime(std::nextafter(tenOClock, 0.0));
    EXPECT_EQ(below.hour, 10);
    EXPECT_EQ(below.minute, 0);
    EXPECT_EQ(below.second, 0);
    EXPECT_EQ(below.millisecond, 0);
    EXPECT_EQ(DecodeDateTime(tenOClock - 0.4 * kMs).hour, 10);
    EXPECT_EQ(DecodeDateTime(tenOClock - 0.6 * kMs).millisecond, 999);
}

TEST(DateTimeDecode, OutOfRangeValuesAreClamped) {
    EXPECT_EQ(DateText(std::numeric_limits<double>::quiet_NaN()), "1899-12-30");
    EXPECT_EQ(DateText(1e300), "9999-12-31 23:59:59");
    EXPECT_EQ(DateText(-1e300), "0001-01-01");
    EXPECT_EQ(DateText(std::numeric_limits<double>::infinity()), "9999-12-31 23:59:59");
}

TEST(DateTimeText, MidnightIsTheDateAlone) {
    EXPECT_EQ(DateText(EncodeDate(2024, 5, 17)), "2024-05-17");
    EXPECT_EQ(DateText(At(2024, 5, 17, 0, 0, 0, 500)), "2024-05-17");
    EXPECT_EQ(DateText(0), "1899-12-30");
}

TEST(DateTimeText, TimeOfDayIsTwentyFourHourWithoutMilliseconds) {
    EXPECT_EQ(DateText(At(2024, 5, 17, 10)), "2024-05-17 10:00:00");
    EXPECT_EQ(DateText(std::nextafter(At(2024, 5, 17, 10), 0.0)), "2024-05-17 10:00:00");
    EXPECT_EQ(DateText(At(2024, 5, 17, 23, 5, 9, 999)), "2024-05-17 23:05:09");
    EXPECT_EQ(DateText(At(2024, 5, 17, 0, 0, 1)), "2024-05-17 00:00:01");
    // The last half millisecond of a day belongs to the next day's midnight.
    EXPECT_EQ(DateText(EncodeDate(2024, 5, 18) - 0.4 * kMs), "2024-05-18");
}

TEST(DateTimeText, DatesBefore1900AndLeapDays) {
    // Negative values count back linearly: -0.75 is a quarter into the day before day 0.
    EXPECT_EQ(At(1899, 12, 29, 6), -0.75);
    EXPECT_EQ(DateText(-0.75), "1899-12-29 06:00:00");
    EXPECT_EQ(DateText(-kMs), "1899-12-29 23:59:59");
    EXPECT_EQ(DateText(At(1600, 2, 29, 12, 30)), "1600-02-29 12:30:00");
    EXPECT_EQ(DateText(At(1066, 10, 14, 9)), "1066-10-14 09:00:00");
    EXPECT_EQ(DateText(EncodeDate(2024, 2, 29)), "2024-02-29");
}

TEST(DateTimeText, TextOrderIsTimeOrder) {
    std::string previous;
    for (TDateTime value = EncodeDate(1700, 1, 1) + 0.3; value < EncodeDate(2200, 1, 1);
         value += 17.37) {
        const std::string text = DateText(value);
        ASSERT_LT(previous, text) << value;
        previous = text;
    }
}

TEST(DateTimeParse, RoundTripsThroughDateText) {
    const TDateTime samples[] = {0,
                                 -0.75,
                                 EncodeDate(2024, 2, 29),
                                 At(2024, 5, 17, 10),
                                 At(1600, 2, 29, 23, 59, 59),
                                 At(1, 1, 1, 0, 0, 1),
                                 At(9999, 12, 31, 23, 59, 59)};
    for (const TDateTime value : samples) {
        const auto parsed = ParseDateText(DateText(value));
        ASSERT_TRUE(parsed.has_value()) << DateText(value);
        EXPECT_EQ(*parsed, value) << DateText(value);
    }
    for (TDateTime value = -150000.123; value < 150000; value += 101.0101) {
        const auto parsed = ParseDateText(DateText(value));
        ASSERT_TRUE(parsed.has_value());
        ASSERT_EQ(DateText(*parsed), DateText(value));
    }
    EXPECT_EQ(ParseDateText("2024-05-17 00:00:00"), EncodeDate(2024, 5, 17));
}

TEST(DateTimeParse, RejectsMalformedText) {
    for (const char* bad : {"", "2024-5-17", "2024-05-17 ", "2024-05-17T10:00:00", "2024/05/17",
                            "2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "0000-01-01",
                            "2024-05-17 24:00:00", "2024-05-17 10:60:00", "2024-05-17 10:00:60",
                            "2024-05-17 10:00", "+024-05-17", "2024-05-1a", "2024-05-17 1:00:000"})
        EXPECT_FALSE(ParseDateText(bad).has_value()) << '"' << bad << '"';
}

TEST(LocalClock, NowIsAPlausibleLocalTime) {
    const TDateTime now = NowLocal();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_LT(now, EncodeDate(2200, 1, 1));
    EXPECT_LE(now, NowLocal() + 1.0 / 24); // never runs backwards by more than a clock shift
}

} // namespace
} // namespace mirelon
