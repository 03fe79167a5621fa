#include "scan/file_times.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace mirelon {

namespace {

// File times count 100 ns ticks since 1601-01-01 UTC; date-times count days since 1899-12-30.
constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMillisecond = 10'000;
constexpr int64_t kTicksPerDay = 864'000'000'000;
constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000;
constexpr int64_t kUnixEpochMilliseconds = kUnixEpochTicks / kTicksPerMillisecond;
constexpr double kDaysFrom1601To1899 = 109205.0;
constexpr double kMillisecondsPerDay = 86'400'000.0;

constexpr int64_t kMinLocalSeconds = -kUnixEpochTicks / kTicksPerSecond;
constexpr int64_t kMaxLocalSeconds =
    (std::numeric_limits<int64_t>::max() - kUnixEpochTicks) / kTicksPerSecond - 1;
// 9999-12-31 23:59:59, local time, in seconds since 1970-01-01.
constexpr int64_t kLatestCatalogLocalSeconds = 253'402'300'799;
constexpr int64_t kMaxMillisecondsSince1601 =
    std::numeric_limits<int64_t>::max() / kTicksPerMillisecond;

[[noreturn]] void ThrowIllegalDateTime() {
    throw std::range_error(kIllegalDateTimeMessage);
}

} // namespace

TDateTime UnixToLocalDateTime(int64_t seconds, uint32_t nanoseconds, int64_t utcOffsetSeconds) {
    int64_t localSeconds = 0;
    if (__builtin_add_overflow(seconds, utcOffsetSeconds, &localSeconds) ||
        localSeconds < kMinLocalSeconds || localSeconds > kMaxLocalSeconds ||
        nanoseconds >= 1'000'000'000u)
        ThrowIllegalDateTime();
    const int64_t ticks = localSeconds * kTicksPerSecond + nanoseconds / 100 + kUnixEpochTicks;
    // The quotient in double before the subtraction, as the date-time form has always been made.
    return static_cast<double>(ticks) / static_cast<double>(kTicksPerDay) - kDaysFrom1601To1899;
}

TDateTime ClampedLocalDateTime(int64_t seconds, uint32_t nanoseconds, int64_t utcOffsetSeconds,
                               bool& clamped) {
    int64_t localSeconds = 0;
    if (__builtin_add_overflow(seconds, utcOffsetSeconds, &localSeconds)) {
        localSeconds =
            seconds < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    }
    if (localSeconds < kMinLocalSeconds) {
        clamped = true;
        return kEarliestCatalogTime;
    }
    if (localSeconds > kLatestCatalogLocalSeconds) {
        clamped = true;
        return kLatestCatalogTime;
    }
    return UnixToLocalDateTime(localSeconds, std::min(nanoseconds, 999'999'999u), 0);
}

void LocalDateTimeToUnix(TDateTime value, int64_t utcOffsetSeconds, int64_t& seconds,
                         uint32_t& nanoseconds) {
    const double milliseconds = std::round((value + kDaysFrom1601To1899) * kMillisecondsPerDay);
    if (!std::isfinite(milliseconds) || milliseconds < 0 ||
        milliseconds > static_cast<double>(kMaxMillisecondsSince1601))
        ThrowIllegalDateTime();
    const int64_t localUnixMs = static_cast<int64_t>(milliseconds) - kUnixEpochMilliseconds;
    int64_t utcUnixMs = 0;
    if (__builtin_mul_overflow(utcOffsetSeconds, int64_t{1000}, &utcUnixMs) ||
        __builtin_sub_overflow(localUnixMs, utcUnixMs, &utcUnixMs))
        ThrowIllegalDateTime();
    int64_t wholeSeconds = utcUnixMs / 1000;
    int64_t remainder = utcUnixMs % 1000;
    if (remainder < 0) {
        remainder += 1000;
        --wholeSeconds;
    }
    seconds = wholeSeconds;
    nanoseconds = static_cast<uint32_t>(remainder * 1'000'000);
}

} // namespace mirelon
