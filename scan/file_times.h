#pragma once

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
bool RestoreAccessedTime(const std::string& path, TDateTime value);

struct FileFacts {
    TDateTime created = 0, modified = 0, accessed = 0;
    uint64_t size = 0;
    bool isRegular = false;
    FileStamp stamp;
};

// All of the above from a single directory lookup.
bool ReadFileFacts(const std::string& path, FileFacts& facts);

// The stamp alone, from the directory entry (a symbolic link is not followed); false when the
// file cannot be found.
bool ReadFileStamp(const std::string& path, FileStamp& stamp);

// The device of the folder a walk starting at `path` lists (a symbolic link is followed, as the
// walk follows it); false when there is none.
bool ReadFolderDevice(const std::string& path, uint64_t& device);

inline constexpr const char* kIllegalDateTimeMessage = "Error illegal date or time format";

// UTC instant to local date-time with a fixed offset, at file-time (100 ns) resolution. Throws
// std::range_error(kIllegalDateTimeMessage) for instants a file time cannot hold (before 1601).
TDateTime UnixToLocalDateTime(int64_t seconds, uint32_t nanoseconds, int64_t utcOffsetSeconds);

// Exact inverse of UnixToLocalDateTime to the nearest millisecond. Throws
// std::range_error(kIllegalDateTimeMessage) for values that name no file time (NaN, before 1601).
void LocalDateTimeToUnix(TDateTime value, int64_t utcOffsetSeconds, int64_t& seconds,
                         uint32_t& nanoseconds);

// The offset from UTC now, including the daylight-saving state now.
int64_t CurrentUtcOffsetSeconds();

} // namespace mirelon
