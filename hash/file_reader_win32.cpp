#include "hash/file_reader.h"

#include "base/wide_path.h"

#include <windows.h>

namespace mirelon {

namespace {

HANDLE HandleOf(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

FileReader::~FileReader() {
    Close();
}

bool FileReader::Open(const FileLocation& file) {
    Close();
    // Others may read the file meanwhile but not write it: a file that another program has open
    // for writing is not opened at all.
    const HANDLE handle = ::CreateFileW(WidePath(file.path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    // Only files on a disk: a console, a pipe or a serial port would never end.
    LARGE_INTEGER size{};
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size) ||
        size.QuadPart < 0 || !::GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(handle);
        return false;
    }
    handle_ = reinterpret_cast<intptr_t>(handle);
    size_ = static_cast<uint64_t>(size.QuadPart);
    return true;
}

// Opening has no effects of its own here that a look before it would avoid.
bool FileReader::OpenSeenRegular(const FileLocation& file) {
    return Open(file);
}

void FileReader::Close() {
    if (handle_ >= 0) {
        ::CloseHandle(HandleOf(handle_));
        handle_ = -1;
        size_ = 0;
    }
}

int64_t FileReader::ReadAt(uint64_t offset, void* buffer, size_t capacity) {
    if (handle_ < 0 || offset > static_cast<uint64_t>(INT64_MAX)) {
        return -1;
    }
    // One read takes at most a 32-bit count.
    const DWORD wanted = capacity > 0x40000000 ? 0x40000000 : static_cast<DWORD>(capacity);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD count = 0;
    if (!::ReadFile(HandleOf(handle_), buffer, wanted, &count, &at)) {
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return static_cast<int64_t>(count);
}

} // namespace mirelon
