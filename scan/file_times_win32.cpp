#include "scan/file_times.h"

#include "base/wide_path.h"

#include <windows.h>

#include <cmath>
#include <stdexcept>
#include <system_error>

namespace mirelon {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000; // 1970-01-01 in ticks since 1601
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

int64_t TicksOf(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

FILETIME FileTimeOf(int64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks));
    time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return time;
}

KeptTime KeptTimeOf(const FILETIME& time) {
    const int64_t sinceEpoch = TicksOf(time) - kUnixEpochTicks;
    int64_t seconds = sinceEpoch / kTicksPerSecond;
    int64_t remainder = sinceEpoch % kTicksPerSecond;
    if (remainder < 0) {
        remainder += kTicksPerSecond;
        --seconds;
    }
    return {seconds, static_cast<uint32_t>(remainder * 100)};
}

FILETIME FileTimeOf(const KeptTime& kept) {
    return FileTimeOf(kept.seconds * kTicksPerSecond + kept.nanoseconds / 100 + kUnixEpochTicks);
}

TDateTime ToLocal(const FILETIME& time, int64_t utcOffsetSeconds) {
    const KeptTime kept = KeptTimeOf(time);
    return UnixToLocalDateTime(kept.seconds, kept.nanoseconds, utcOffsetSeconds);
}

// Local midnight of 1601-01-01 lies before the first file time wherever the clock runs behind
// UTC, and file times reach the year 30828: both are clamped into the catalog's range.
TDateTime ToClampedLocal(const FILETIME& time, int64_t utcOffsetSeconds, bool& clamped) {
    const KeptTime kept = KeptTimeOf(time);
    return ClampedLocalDateTime(kept.seconds, kept.nanoseconds, utcOffsetSeconds, clamped);
}

// The file time (UTC) that a local date-time names, to the millisecond; false for none.
bool FileTimeOfLocal(TDateTime value, int64_t utcOffsetSeconds, FILETIME& time) {
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    try {
        LocalDateTimeToUnix(value, utcOffsetSeconds, seconds, nanoseconds);
    } catch (const std::range_error&) {
        return false;
    }
    time = FileTimeOf(seconds * kTicksPerSecond + nanoseconds / 100 + kUnixEpochTicks);
    return true;
}

bool IsDriveRootOrEndsInSeparator(const std::string& path) {
    return !path.empty() &&
           (path.back() == '\\' || path.back() == '/' || (path.size() == 2 && path[1] == ':'));
}

// The directory entry of `path` itself, read by listing the path as a search pattern: the file
// is not opened, so its access time stays and a program holding it open is no obstacle. A link
// is read as itself. Roots and paths with a trailing separator cannot be listed that way; their
// attributes carry the same times.
bool LookUpEntry(const std::string& path, WIN32_FIND_DATAW& entry) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) {
        return false; // a pattern would find some other file
    }
    const std::wstring wide = WidePath(path);
    if (IsDriveRootOrEndsInSeparator(path)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
            return false;
        }
        entry = WIN32_FIND_DATAW{};
        entry.dwFileAttributes = data.dwFileAttributes;
        entry.ftCreationTime = data.ftCreationTime;
        entry.ftLastAccessTime = data.ftLastAccessTime;
        entry.ftLastWriteTime = data.ftLastWriteTime;
        entry.nFileSizeHigh = data.nFileSizeHigh;
        entry.nFileSizeLow = data.nFileSizeLow;
        return true;
    }
    const HANDLE find = ::FindFirstFileExW(wide.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(find);
    return true;
}

uint64_t SizeOf(const WIN32_FIND_DATAW& entry) {
    return (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

// Nanoseconds since 1970 of a count of 100 ns ticks since 1601.
int64_t UnixNanoseconds(int64_t ticks) {
    return (ticks - kUnixEpochTicks) * 100;
}

// The file's own information through a handle that reads attributes only, so its access time
// stays; `follow` opens what a link points at.
bool ReadHandleInformation(const std::string& path, bool follow,
                           BY_HANDLE_FILE_INFORMATION& information, int64_t& changeTicks) {
    if (path.empty()) {
        return false;
    }
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle = ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                        nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool read = ::GetFileInformationByHandle(handle, &information) != FALSE;
    // The change time moves with every change of the file's content or attributes; a file
    // system that keeps none offers the last write instead.
    FILE_BASIC_INFO basic{};
    changeTicks = ::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)
                      ? basic.ChangeTime.QuadPart
                      : TicksOf(information.ftLastWriteTime);
    ::CloseHandle(handle);
    return read;
}

bool ReadTime(const std::string& path, FILETIME WIN32_FIND_DATAW::*which, TDateTime& value) {
    WIN32_FIND_DATAW entry{};
    if (!LookUpEntry(path, entry)) {
        return false;
    }
    value = ToLocal(entry.*which, CurrentUtcOffsetSeconds());
    return true;
}

} // namespace

// The offset that the system's own conversion of file times applies now, daylight saving
// included.
int64_t CurrentUtcOffsetSeconds() {
    FILETIME utc{}, local{};
    ::GetSystemTimeAsFileTime(&utc);
    if (!::FileTimeToLocalFileTime(&utc, &local)) {
        return 0;
    }
    return std::llround(static_cast<double>(TicksOf(local) - TicksOf(utc)) / kTicksPerSecond);
}

bool ReadCreatedTime(const std::string& path, TDateTime& value) {
    return ReadTime(path, &WIN32_FIND_DATAW::ftCreationTime, value);
}

bool ReadModifiedTime(const std::string& path, TDateTime& value) {
    return ReadTime(path, &WIN32_FIND_DATAW::ftLastWriteTime, value);
}

bool ReadAccessedTime(const std::string& path, TDateTime& value) {
    return ReadTime(path, &WIN32_FIND_DATAW::ftLastAccessTime, value);
}

uint64_t ReadFileSize(const std::string& path) {
    WIN32_FIND_DATAW entry{};
    if (!LookUpEntry(path, entry)) {
        const DWORD error = ::GetLastError();
        throw std::system_error(static_cast<int>(error == 0 ? ERROR_FILE_NOT_FOUND : error),
                                std::system_category());
    }
    return SizeOf(entry);
}

bool ReadFileFacts(const FileLocation& file, FileFacts& facts) {
    WIN32_FIND_DATAW entry{};
    if (!LookUpEntry(file.path, entry)) {
        return false;
    }
    const int64_t offset = CurrentUtcOffsetSeconds();
    FileFacts read;
    read.created = ToClampedLocal(entry.ftCreationTime, offset, read.datesClamped);
    read.modified = ToClampedLocal(entry.ftLastWriteTime, offset, read.datesClamped);
    read.accessed = ToClampedLocal(entry.ftLastAccessTime, offset, read.datesClamped);
    read.accessedKept = KeptTimeOf(entry.ftLastAccessTime);
    read.size = SizeOf(entry);
    read.isRegular =
        (entry.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
    // A file that cannot be opened even for its attributes keeps a stamp no update will match.
    ReadFileStamp(file, read.stamp);
    facts = read;
    return true;
}

bool ReadFileStamp(const FileLocation& file, FileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION information{};
    int64_t changeTicks = 0;
    if (!ReadHandleInformation(file.path, false, information, changeTicks)) {
        return false;
    }
    stamp = {information.dwVolumeSerialNumber,
             (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
             (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow,
             UnixNanoseconds(TicksOf(information.ftLastWriteTime)), UnixNanoseconds(changeTicks)};
    return true;
}

bool ReadFolderDevice(const std::string& path, uint64_t& device) {
    BY_HANDLE_FILE_INFORMATION information{};
    int64_t changeTicks = 0;
    if (!ReadHandleInformation(path, true, information, changeTicks) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    device = information.dwVolumeSerialNumber;
    return true;
}

namespace {

// Writing attributes is allowed on read-only files too; a link is changed itself.
HANDLE OpenForTimes(const std::string& path) {
    return ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                         kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

} // namespace

bool RestoreAccessedTime(const FileLocation& file, TDateTime value) {
    const int64_t offset = CurrentUtcOffsetSeconds();
    FILETIME wanted{};
    if (file.path.empty() || !FileTimeOfLocal(value, offset, wanted)) {
        return false;
    }
    const HANDLE handle = OpenForTimes(file.path);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    // An access time that already reads as `value` keeps its exact ticks: no write at all.
    FILETIME current{};
    bool restored = false;
    if (::GetFileTime(handle, nullptr, &current, nullptr)) {
        FILETIME currentRounded{};
        try {
            restored = FileTimeOfLocal(ToLocal(current, offset), offset, currentRounded) &&
                       TicksOf(currentRounded) == TicksOf(wanted);
        } catch (const std::range_error&) {
            // An access time no date-time can hold is simply overwritten.
        }
    }
    if (!restored) {
        restored = ::SetFileTime(handle, nullptr, &wanted, nullptr) != FALSE;
    }
    ::CloseHandle(handle);
    return restored;
}

bool RestoreKeptAccessTime(const FileLocation& file, const KeptTime& kept) {
    if (file.path.empty()) {
        return false;
    }
    const HANDLE handle = OpenForTimes(file.path);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const FILETIME wanted = FileTimeOf(kept);
    FILETIME current{};
    bool restored =
        ::GetFileTime(handle, nullptr, &current, nullptr) && TicksOf(current) == TicksOf(wanted);
    if (!restored) {
        restored = ::SetFileTime(handle, nullptr, &wanted, nullptr) != FALSE;
    }
    ::CloseHandle(handle);
    return restored;
}

} // namespace mirelon
