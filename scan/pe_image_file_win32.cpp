#include "scan/pe_image_file.h"

#include "base/wide_path.h"

#include <windows.h>

#include <algorithm>

namespace mirelon {

namespace {

HANDLE HandleOf(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// The readers take the file by its short (8.3) path where the volume keeps one, else by its
// full path.
std::wstring ReadingPath(const std::string& path) {
    const std::wstring full = WidePath(path);
    const DWORD size = ::GetShortPathNameW(full.c_str(), nullptr, 0);
    if (size == 0) {
        return full;
    }
    std::wstring shortPath(size, L'\0');
    const DWORD length = ::GetShortPathNameW(full.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) {
        return full;
    }
    shortPath.resize(length);
    return shortPath;
}

} // namespace

TPeFileSource::TPeFileSource(const FileLocation& file) {
    // Links are not followed, and only files on a disk are read: a console or a pipe could block.
    const HANDLE handle =
        ::CreateFileW(ReadingPath(file.path).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    LARGE_INTEGER size{};
    if (::GetFileType(handle) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        !::GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
        ::CloseHandle(handle);
        return;
    }
    descriptor_ = reinterpret_cast<intptr_t>(handle);
    size_ = static_cast<uint64_t>(size.QuadPart);
}

TPeFileSource::~TPeFileSource() {
    if (descriptor_ >= 0)
        ::CloseHandle(HandleOf(descriptor_));
}

bool TPeFileSource::ReadDirect(uint64_t offset, void* buffer, size_t count) const {
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(count, 0x40000000));
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!::ReadFile(HandleOf(descriptor_), out, wanted, &got, &at) || got == 0)
            return false;
        out += got;
        offset += got;
        count -= got;
    }
    return true;
}

} // namespace mirelon
