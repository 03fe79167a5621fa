#include "tests/scan/facts_test_files.h"

#include "base/wide_path.h"

#include <windows.h>

#include <stdexcept>

namespace mirelon::testing {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000;

FILETIME FileTimeOf(UnixTime time) {
    const uint64_t ticks = static_cast<uint64_t>(time.seconds * kTicksPerSecond +
                                                 time.nanoseconds / 100 + kUnixEpochTicks);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

UnixTime UnixTimeOf(const FILETIME& time) {
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                               time.dwLowDateTime) -
                          kUnixEpochTicks;
    int64_t seconds = ticks / kTicksPerSecond;
    int64_t remainder = ticks % kTicksPerSecond;
    if (remainder < 0) {
        remainder += kTicksPerSecond;
        --seconds;
    }
    return {seconds, static_cast<uint32_t>(remainder * 100)};
}

HANDLE OpenAttributes(const std::string& path, DWORD access) {
    const HANDLE file = ::CreateFileW(
        WidePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path);
    }
    return file;
}

void StoredTimes(const std::string& path, FILETIME& accessed, FILETIME& modified) {
    const HANDLE file = OpenAttributes(path, FILE_READ_ATTRIBUTES);
    const bool read = ::GetFileTime(file, nullptr, &accessed, &modified);
    ::CloseHandle(file);
    if (!read) {
        throw std::runtime_error("GetFileTime failed on " + path);
    }
}

} // namespace

void SetStoredTimes(const std::string& path, UnixTime accessed, UnixTime modified) {
    const HANDLE file = OpenAttributes(path, FILE_WRITE_ATTRIBUTES);
    const FILETIME access = FileTimeOf(accessed);
    const FILETIME write = FileTimeOf(modified);
    const bool set = ::SetFileTime(file, nullptr, &access, &write);
    ::CloseHandle(file);
    if (!set) {
        throw std::runtime_error("SetFileTime failed on " + path);
    }
}

UnixTime StoredAccessTime(const std::string& path) {
    FILETIME accessed{}, modified{};
    StoredTimes(path, accessed, modified);
    return UnixTimeOf(accessed);
}

UnixTime StoredModifiedTime(const std::string& path) {
    FILETIME accessed{}, modified{};
    StoredTimes(path, accessed, modified);
    return UnixTimeOf(modified);
}

} // namespace mirelon::testing
