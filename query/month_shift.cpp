#include "query/month_shift.h"

#include <algorithm>

namespace mirelon {

TDateTime ShiftMonths(TDateTime dateTime, int months) {
    DateTimeParts parts = DecodeDateTime(dateTime);
    // C++ division truncates toward zero and the remainder takes the dividend's sign.
    parts.year += months / 12;
    parts.month += months % 12;
    if (parts.month > 12) {
        parts.month -= 12;
        ++parts.year;
    } else if (parts.month < 1) {
        parts.month += 12;
        --parts.year;
    }
    parts.day = std::min(parts.day, DaysInMonth(parts.year, parts.month));
    // Re-encoding the decoded time of day, rather than adding the input's fraction, keeps a value
    // that rounds up to the next midnight from gaining almost a day.
    return EncodeDateTime(parts);
}

TDateTime ShiftYears(TDateTime dateTime, int years) {
    const DateTimeParts parts = DecodeDateTime(dateTime);
    const int year = parts.year + years;
    return EncodeDate(year, parts.month, std::min(parts.day, DaysInMonth(year, parts.month)));
}

} // namespace mirelon
