#include "catalog/local_clock.h"

#include <windows.h>

namespace mirelon {

TDateTime NowLocal() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    DateTimeParts parts;
    parts.year = local.wYear;
    parts.month = local.wMonth;
    parts.day = local.wDay;
    parts.hour = local.wHour;
    parts.minute = local.wMinute;
    parts.second = local.wSecond;
    parts.millisecond = local.wMilliseconds;
    return EncodeDateTime(parts);
}

} // namespace mirelon
