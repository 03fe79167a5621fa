#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// Days since 1899-12-30 00:00 local time; the fraction is the time of day. The scale is linear
// on both sides of day 0, so -0.75 is 1899-12-29 06:00.
using TDateTime = double;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Months outside 1..12 roll over into neighbouring years; days beyond the month run on.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(const DateTimeParts& p);

// Rounds to the millisecond first, so a value a hair below 10:00:00 decodes as 10:00:00.000.
// Values outside 0001-01-01 .. 9999-12-31 23:59:59.999 are clamped to that range; NaN reads as 0.
DateTimeParts DecodeDateTime(TDateTime value);

// "YYYY-MM-DD", plus " HH:MM:SS" only when the time of day to the second is not midnight.
// Text order is time order.
std::string DateText(TDateTime value);

// Inverse of DateText; also accepts an explicit " 00:00:00". Nullopt for anything malformed.
std::optional<TDateTime> ParseDateText(std::string_view text);

} // namespace mirelon
