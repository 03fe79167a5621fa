#include "cleanup/file_stamp.h"

#include "base/system_error_text.h"
#include "base/wide_path.h"

#include <windows.h>

namespace mirelon {

namespace {

// Windows times count 100 ns; the stamp keeps nanoseconds like the other side.
int64_t Nanoseconds(LARGE_INTEGER time) {
    return time.QuadPart * 100;
}

} // namespace

bool ReadFileStamp(const std::string& path, FileStamp& stamp, std::string& reason) {
    // Attributes only, and a link is looked at itself.
    const HANDLE handle = ::CreateFileW(
        WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemErrorText(::GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    FILE_BASIC_INFO basic{};
    const bool read = ::GetFileInformationByHandle(handle, &information) &&
                      ::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (!read) {
        reason = SystemErrorText(error);
        return false;
    }
    if ((information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        reason = "is no longer a regular file";
        return false;
    }
    stamp.device = information.dwVolumeSerialNumber;
    stamp.inode =
        static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    stamp.size = static_cast<uint64_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    stamp.modifiedNs = Nanoseconds(basic.LastWriteTime);
    stamp.changedNs = Nanoseconds(basic.ChangeTime);
    return true;
}

} // namespace mirelon
