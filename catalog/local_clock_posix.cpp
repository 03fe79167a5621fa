#include "catalog/local_clock.h"

#include <ctime>

namespace mirelon {

TDateTime NowLocal() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);

    DateTimeParts parts;
    parts.year = local.tm_year + 1900;
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    parts.hour = local.tm_hour;
    parts.minute = local.tm_min;
    // A leap second shows as :60; fold it into the last ordinary second.
    parts.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    parts.millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    return EncodeDateTime(parts);
}

} // namespace mirelon
