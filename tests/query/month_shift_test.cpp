#include "query/month_shift.h"
#include "query/query_texts.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime({year, month, day, hour, minute, 0, 0});
}

TEST(ShiftMonthsTest, AcrossYearBoundaries) {
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 1, 15), -13)), "2014-12-15");
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 1, 15), -12)), "2015-01-15");
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 1, 15), -1)), "2015-12-15");
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 11, 15), 3)), "2017-02-15");
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 1, 15), -60)), "2011-01-15");
}

TEST(ShiftMonthsTest, ClampsToLastDayAndKeepsTimeOfDay) {
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 3, 31, 10, 30), -1)), "2016-02-29 10:30:00");
    EXPECT_EQ(DateText(ShiftMonths(At(2015, 3, 31, 10, 30), -1)), "2015-02-28 10:30:00");
    EXPECT_EQ(DateText(ShiftMonths(At(2016, 5, 31), -1)), "2016-04-30");
}

TEST(ShiftMonthsTest, ValueJustBelowMidnightDoesNotGainADay) {
    const TDateTime almostMidnight = EncodeDate(2016, 3, 15) + 1.0 - 1e-12;
    EXPECT_EQ(DateText(ShiftMonths(almostMidnight, -1)), "2016-02-16");
}

TEST(ShiftYearsTest, DropsTimeAndClampsLeapDay) {
    EXPECT_EQ(DateText(ShiftYears(At(2016, 3, 15, 10, 30), -10)), "2006-03-15");
    EXPECT_EQ(DateText(ShiftYears(At(2016, 2, 29, 23, 59), -10)), "2006-02-28");
    EXPECT_EQ(DateText(ShiftYears(At(2016, 2, 29), -4)), "2012-02-29");
}

TEST(OldFilesQueryTest, BoundsForTwelveMonthsOnFifteenthMarch) {
    const OldFilesBounds bounds = MakeOldFilesBounds(At(2016, 3, 15, 10, 30), 12);
    EXPECT_EQ(bounds.lower, "2006-03-15");
    EXPECT_EQ(bounds.upper, "2015-03-15 10:30:00");
    EXPECT_EQ(OldFilesQuery(bounds), "SELECT * FROM tblFiles WHERE [fldDateAccessed] BETWEEN "
                                     "'2006-03-15' AND '2015-03-15 10:30:00'");
}

TEST(OldFilesQueryTest, OneMonthFromThirtyFirstMarchAndLeapDay) {
    const OldFilesBounds march = MakeOldFilesBounds(At(2017, 3, 31, 8, 5), 1);
    EXPECT_EQ(march.upper, "2017-02-28 08:05:00");
    const OldFilesBounds leapDay = MakeOldFilesBounds(At(2016, 2, 29, 8, 5), 1);
    EXPECT_EQ(leapDay.lower, "2006-02-28");
    EXPECT_EQ(leapDay.upper, "2016-01-29 08:05:00");
}

} // namespace
} // namespace mirelon
