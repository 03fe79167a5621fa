#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mirelon::testing {

struct UnixTime {
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    bool operator==(const UnixTime&) const = default;
};

// The times as the file system keeps them (to 100 ns on Windows); a link is read as itself.
void SetStoredTimes(const std::string& path, UnixTime accessed, UnixTime modified);
UnixTime StoredAccessTime(const std::string& path);
UnixTime StoredModifiedTime(const std::string& path);

// (Linux only) Sets TZ for its lifetime and puts the previous value back.
class TScopedTimeZone {
public:
    explicit TScopedTimeZone(const char* zone);
    ~TScopedTimeZone();
    TScopedTimeZone(const TScopedTimeZone&) = delete;
    TScopedTimeZone& operator=(const TScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace mirelon::testing
