#include "scan/file_times.h"

#include "base/file_at.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>

namespace mirelon {

namespace {

// The entry itself, never what a symbolic link points at, and no automount is set off by a scan.
bool LookUpEntry(const FileLocation& file, unsigned int mask, struct statx& entry) {
    return statx(AtFolder(file), AtName(file), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask,
                 &entry) == 0;
}

TDateTime ToLocal(const struct statx_timestamp& stamp, int64_t utcOffsetSeconds) {
    return UnixToLocalDateTime(stamp.tv_sec, stamp.tv_nsec, utcOffsetSeconds);
}

TDateTime ToClampedLocal(const struct statx_timestamp& stamp, int64_t utcOffsetSeconds,
                         bool& clamped) {
    return ClampedLocalDateTime(stamp.tv_sec, stamp.tv_nsec, utcOffsetSeconds, clamped);
}

KeptTime KeptTimeOf(const struct statx_timestamp& stamp) {
    return {stamp.tv_sec, stamp.tv_nsec};
}

bool SetAccessTime(const FileLocation& file, const KeptTime& kept) {
    const struct timespec times[2] = {
        {static_cast<time_t>(kept.seconds), static_cast<long>(kept.nanoseconds)}, {0, UTIME_OMIT}};
    return utimensat(AtFolder(file), AtName(file), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// Not every file system keeps a birth time; the status-change time is the nearest it offers.
// Some report a birth time of exactly the epoch for files whose birth was never recorded (files
// unpacked into an image layer, for one): that is no birth time either.
const struct statx_timestamp& CreationStamp(const struct statx& entry) {
    const bool kept = (entry.stx_mask & STATX_BTIME) &&
                      (entry.stx_btime.tv_sec != 0 || entry.stx_btime.tv_nsec != 0);
    return kept ? entry.stx_btime : entry.stx_ctime;
}

constexpr unsigned int kStampMask = STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME;

int64_t Nanoseconds(const struct statx_timestamp& stamp) {
    return stamp.tv_sec * int64_t{1'000'000'000} + stamp.tv_nsec;
}

// The device number as stat's st_dev gives it, which the folder walk compares.
uint64_t DeviceOf(const struct statx& entry) {
    return makedev(entry.stx_dev_major, entry.stx_dev_minor);
}

FileStamp StampOf(const struct statx& entry) {
    return {DeviceOf(entry), entry.stx_ino, entry.stx_size, Nanoseconds(entry.stx_mtime),
            Nanoseconds(entry.stx_ctime)};
}

} // namespace

int64_t CurrentUtcOffsetSeconds() {
    const time_t now = time(nullptr);
    struct tm local {};
    if (localtime_r(&now, &local) == nullptr)
        return 0;
    return local.tm_gmtoff;
}

bool ReadCreatedTime(const std::string& path, TDateTime& value) {
    struct statx entry {};
    if (!LookUpEntry(path, STATX_BTIME | STATX_CTIME, entry))
        return false;
    value = ToLocal(CreationStamp(entry), CurrentUtcOffsetSeconds());
    return true;
}

bool ReadModifiedTime(const std::string& path, TDateTime& value) {
    struct statx entry {};
    if (!LookUpEntry(path, STATX_MTIME, entry))
        return false;
    value = ToLocal(entry.stx_mtime, CurrentUtcOffsetSeconds());
    return true;
}

bool ReadAccessedTime(const std::string& path, TDateTime& value) {
    struct statx entry {};
    if (!LookUpEntry(path, STATX_ATIME, entry))
        return false;
    value = ToLocal(entry.stx_atime, CurrentUtcOffsetSeconds());
    return true;
}

uint64_t ReadFileSize(const std::string& path) {
    struct statx entry {};
    if (!LookUpEntry(path, STATX_SIZE, entry))
        throw std::system_error(errno, std::system_category());
    return entry.stx_size;
}

bool ReadFileFacts(const FileLocation& file, FileFacts& facts) {
    struct statx entry {};
    if (!LookUpEntry(file, STATX_BASIC_STATS | STATX_BTIME, entry))
        return false;
    const int64_t offset = CurrentUtcOffsetSeconds();
    FileFacts read;
    read.created = ToClampedLocal(CreationStamp(entry), offset, read.datesClamped);
    read.modified = ToClampedLocal(entry.stx_mtime, offset, read.datesClamped);
    read.accessed = ToClampedLocal(entry.stx_atime, offset, read.datesClamped);
    read.accessedKept = KeptTimeOf(entry.stx_atime);
    read.size = entry.stx_size;
    read.isRegular = S_ISREG(entry.stx_mode);
    read.stamp = StampOf(entry);
    facts = read;
    return true;
}

bool ReadFileStamp(const FileLocation& file, FileStamp& stamp) {
    struct statx entry {};
    if (!LookUpEntry(file, kStampMask, entry))
        return false;
    stamp = StampOf(entry);
    return true;
}

bool ReadFolderDevice(const std::string& path, uint64_t& device) {
    struct statx entry {};
    if (statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_TYPE, &entry) != 0 ||
        !S_ISDIR(entry.stx_mode))
        return false;
    device = DeviceOf(entry);
    return true;
}

bool RestoreAccessedTime(const FileLocation& file, TDateTime value) {
    const int64_t offset = CurrentUtcOffsetSeconds();
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    try {
        LocalDateTimeToUnix(value, offset, seconds, nanoseconds);
    } catch (const std::range_error&) {
        return false;
    }
    struct statx entry {};
    if (!LookUpEntry(file, STATX_ATIME, entry))
        return false;
    // An access time that already reads as `value` keeps its exact nanoseconds: no write at all.
    if (entry.stx_mask & STATX_ATIME) {
        try {
            int64_t currentSeconds = 0;
            uint32_t currentNanoseconds = 0;
            LocalDateTimeToUnix(ToLocal(entry.stx_atime, offset), offset, currentSeconds,
                                currentNanoseconds);
            if (currentSeconds == seconds && currentNanoseconds == nanoseconds)
                return true;
        } catch (const std::range_error&) {
            // An access time no date-time can hold is simply overwritten.
        }
    }
    return SetAccessTime(file, {seconds, nanoseconds});
}

bool RestoreKeptAccessTime(const FileLocation& file, const KeptTime& kept) {
    struct statx entry {};
    if (!LookUpEntry(file, STATX_ATIME, entry))
        return false;
    if ((entry.stx_mask & STATX_ATIME) && KeptTimeOf(entry.stx_atime) == kept)
        return true;
    return SetAccessTime(file, kept);
}

} // namespace mirelon
