#include "tests/hash/hash_test_files.h"

#include "base/wide_path.h"

#include <windows.h>
#include <winioctl.h>

#include <filesystem>

namespace mirelon::test {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000;

} // namespace

bool MakeSparseFile(const std::string& path, uint64_t size, std::string_view tail) {
    if (tail.size() > size) {
        return false;
    }
    const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD returned = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    LARGE_INTEGER tailAt{};
    tailAt.QuadPart = static_cast<LONGLONG>(size - tail.size());
    DWORD written = 0;
    const bool made =
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file) &&
        ::SetFilePointerEx(file, tailAt, nullptr, FILE_BEGIN) &&
        ::WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr) &&
        written == tail.size();
    return ::CloseHandle(file) && made;
}

std::string SparseFileParent() {
    return std::filesystem::temp_directory_path().string();
}

bool IsSparse(const std::string& path) {
    DWORD high = 0;
    const DWORD low = ::GetCompressedFileSizeW(WidePath(path).c_str(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    const uint64_t stored = (static_cast<uint64_t>(high) << 32) | low;
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stored < size / 16;
}

int64_t AccessTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    const int64_t ticks =
        static_cast<int64_t>((static_cast<uint64_t>(data.ftLastAccessTime.dwHighDateTime) << 32) |
                             data.ftLastAccessTime.dwLowDateTime);
    return (ticks - kUnixEpochTicks) / kTicksPerSecond;
}

bool SetAccessTime(const std::string& path, int64_t seconds) {
    const HANDLE file =
        ::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const uint64_t ticks = static_cast<uint64_t>(seconds * kTicksPerSecond + kUnixEpochTicks);
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const bool set = ::SetFileTime(file, nullptr, &time, nullptr);
    ::CloseHandle(file);
    return set;
}

bool IsPrivileged() {
    return false;
}

} // namespace mirelon::test
