#pragma once

#include "base/file_location.h"
#include "catalog/date_time.h"
#include "catalog/file_stamps.h"

#include <cstdint>
#include <string>

namespace mirelon {

// Times are read from the directory entry without opening the file (symbolic links are not
// followed). False when the file cannot be found; the value is then left unchanged.
// Raise "Error illegal date or time format" when the time lies outside what a date-time can hold.
bool ReadCreatedTime(const std::string& path, TDateTime& value);
bool ReadModifiedTime(const std::string& path, TDateTime& value);
bool ReadAccessedTime(const std::string& path, TDateTime& value);

// Throws std::system_error with the system's error code and message when the file cannot be found.
uint64_t ReadFileSize(const std::string& path);

// Puts the last-access time back to `value`, leaving the other times alone. Writes nothing when
// the access time already equals `value` to the millisecond. False when the time cannot be set.
bool RestoreAccessedTime(const FileLocation& file, TDateTime value);

// A time as the file system keeps it: seconds and nanoseconds since 1970-01-01 00:00 UTC.
struct KeptTime {
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    bool operator==(const KeptTime&) const = default;
};

struct FileFacts {
    TDateTime created = 0, modified = 0, accessed = 0;
    uint64_t size = 0;
    bool isRegular = false;
    FileStamp stamp;
    // A time lay outside what the catalog holds and was moved to the nearer end of it.
    bool datesClamped = false;
    KeptTime accessedKept; // the last-access time exactly as kept, to put it back
};

// All of the above from a single directory lookup. Times outside 1601-01-01 00:00:00 ..
// 9999-12-31 23:59:59 (local time) are clamped into that range, never an error.
bool ReadFileFacts(const FileLocation& file, FileFacts& facts);

// Puts the last-access time back exactly to `kept`, as ReadFileFacts found it, whatever date it
// names; writes nothing when it already is. False when the time cannot be set.
bool RestoreKeptAccessTime(const FileLocation& file, const KeptTime& kept);

// The stamp alone, from the directory entry (a symbolic link is not followed); false when the
// file cannot be found.
bool ReadFileStamp(const FileLocation& file, FileStamp& stamp);

// The device of the folder a walk starting at `path` lists (a symbolic link is followed, as the
// walk follows it); false when there is none.
bool ReadFolderDevice(const std::string& path, uint64_t& device);

inline constexpr const char* kIllegalDateTimeMessage = "Error illegal date or time format";

// UTC instant to local date-time with a fixed offset, at file-time (100 ns) resolution. Throws
// std::range_error(kIllegalDateTimeMessage) for instants a file time cannot hold (before 1601).
TDateTime UnixToLocalDateTime(int64_t seconds, uint32_t nanoseconds, int64_t utcOffsetSeconds);

// The range of date-times the catalog holds: 1601-01-01 00:00:00 to 9999-12-31 23:59:59.
inline constexpr TDateTime kEarliestCatalogTime = -109205.0;
inline constexpr TDateTime kLatestCatalogTime = 2958465.0 + 86399.0 / 86400.0;

// UnixToLocalDateTime for any instant: one whose local time lies outside the catalog's range
// gives the nearer end of it and sets `clamped`.
TDateTime ClampedLocalDateTime(int64_t seconds, uint32_t nanoseconds, int64_t utcOffsetSeconds,
                               bool& clamped);

// Exact inverse of UnixToLocalDateTime to the nearest millisecond. Throws
// std::range_error(kIllegalDateTimeMessage) for values that name no file time (NaN, before 1601).
void LocalDateTimeToUnix(TDateTime value, int64_t utcOffsetSeconds, int64_t& seconds,
                         uint32_t& nanoseconds);

// The offset from UTC now, including the daylight-saving state now.
int64_t CurrentUtcOffsetSeconds();

} // namespace mirelon
