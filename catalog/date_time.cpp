#include "catalog/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace mirelon {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Day 0 of the Unix calendar (1970-01-01) counted from 1899-12-30.
constexpr int64_t kUnixEpochDay = 25'569;

// Proleptic Gregorian day count from 1970-01-01; exact for any year, negative ones included.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

void CivilFromDays(int64_t days, DateTimeParts& parts) {
    days += 719'468;
    const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const int64_t dayOfEra = days - era * 146'097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    parts.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    parts.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
}

int64_t DayNumber(int year, int month, int day) {
    // Bring the month into 1..12 first; the civil formula assumes it.
    int64_t fullYear = year;
    int64_t zeroBasedMonth = static_cast<int64_t>(month) - 1;
    fullYear += zeroBasedMonth >= 0 ? zeroBasedMonth / 12 : (zeroBasedMonth - 11) / 12;
    zeroBasedMonth -= (fullYear - year) * 12;
    const int64_t firstOfMonth = DaysFromCivil(fullYear, static_cast<int>(zeroBasedMonth) + 1, 1);
    return firstOfMonth + (day - 1) + kUnixEpochDay;
}

const int64_t kFirstMs = DayNumber(1, 1, 1) * kMsPerDay;
const int64_t kLastMs = (DayNumber(9999, 12, 31) + 1) * kMsPerDay - 1;

bool ReadNumber(std::string_view text, size_t at, size_t width, int& value) {
    value = 0;
    for (size_t i = at; i < at + width; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Fixed-width decimal; the clamped range keeps every field within its width.
void WriteDigits(std::string& text, size_t at, size_t width, int value) {
    for (size_t i = at + width; i > at; --i) {
        text[i - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<TDateTime>(DayNumber(year, month, day));
}

TDateTime EncodeDateTime(const DateTimeParts& p) {
    const int64_t msOfDay =
        ((static_cast<int64_t>(p.hour) * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    return EncodeDate(p.year, p.month, p.day) +
           static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
}

DateTimeParts DecodeDateTime(TDateTime value) {
    double rounded = std::isnan(value) ? 0.0 : std::round(value * static_cast<double>(kMsPerDay));
    rounded = std::clamp(rounded, static_cast<double>(kFirstMs), static_cast<double>(kLastMs));
    const auto totalMs = static_cast<int64_t>(rounded);

    int64_t day = totalMs / kMsPerDay;
    int64_t msOfDay = totalMs % kMsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMsPerDay;
        --day;
    }

    DateTimeParts parts;
    CivilFromDays(day - kUnixEpochDay, parts);
    parts.millisecond = static_cast<int>(msOfDay % 1000);
    const auto secondOfDay = static_cast<int>(msOfDay / 1000);
    parts.second = secondOfDay % 60;
    parts.minute = secondOfDay / 60 % 60;
    parts.hour = secondOfDay / 3600;
    return parts;
}

std::string DateText(TDateTime value) {
    // Hand-formatted: every catalog row carries three of these.
    const DateTimeParts p = DecodeDateTime(value);
    const bool withTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    std::string text(withTime ? 19 : 10, ' ');
    WriteDigits(text, 0, 4, p.year);
    text[4] = '-';
    WriteDigits(text, 5, 2, p.month);
    text[7] = '-';
    WriteDigits(text, 8, 2, p.day);
    if (withTime) {
        WriteDigits(text, 11, 2, p.hour);
        text[13] = ':';
        WriteDigits(text, 14, 2, p.minute);
        text[16] = ':';
        WriteDigits(text, 17, 2, p.second);
    }
    return text;
}

std::optional<TDateTime> ParseDateText(std::string_view text) {
    if (text.size() != 10 && text.size() != 19)
        return std::nullopt;
    DateTimeParts p;
    if (!ReadNumber(text, 0, 4, p.year) || text[4] != '-' || !ReadNumber(text, 5, 2, p.month) ||
        text[7] != '-' || !ReadNumber(text, 8, 2, p.day))
        return std::nullopt;
    if (p.year < 1 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > DaysInMonth(p.year, p.month))
        return std::nullopt;
    if (text.size() == 19) {
        if (text[10] != ' ' || !ReadNumber(text, 11, 2, p.hour) || text[13] != ':' ||
            !ReadNumber(text, 14, 2, p.minute) || text[16] != ':' ||
            !ReadNumber(text, 17, 2, p.second))
            return std::nullopt;
        if (p.hour > 23 || p.minute > 59 || p.second > 59)
            return std::nullopt;
    }
    return EncodeDateTime(p);
}

} // namespace mirelon
