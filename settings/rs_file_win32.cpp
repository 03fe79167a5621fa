#include "settings/rs_file.h"

#include "base/system_error_text.h"
#include "base/wide_path.h"
#include "settings/rs_exception.h"

#include <windows.h>
// The system's header names its own ReplaceFile call so; this file defines the store's.
#undef ReplaceFile

#include <algorithm>
#include <atomic>

namespace mirelon {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Close() {
        const bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

[[noreturn]] void ThrowCreateError(const std::string& path, DWORD error) {
    throw EFCreateError("Cannot create file \"" + path + "\". " + SystemErrorText(error));
}

bool WriteAll(HANDLE file, std::string_view contents) {
    while (!contents.empty()) {
        constexpr size_t kMostAtOnce = 1 << 30;
        DWORD written = 0;
        const auto count = static_cast<DWORD>(std::min(contents.size(), kMostAtOnce));
        if (!::WriteFile(file, contents.data(), count, &written, nullptr))
            return false;
        contents.remove_prefix(written);
    }
    return true;
}

// A name in the target's folder that no other writer in this or another process picks.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
}

bool NameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

} // namespace

TrsFileReadResult ReadWholeFile(const std::string& path, std::string& text) {
    TrsFileReadResult result;
    // Others may go on reading, writing and even renaming it meanwhile, as on Linux.
    FileHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        result.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        if (result.exists)
            result.error = SystemErrorText(error);
        return result;
    }
    result.exists = true;
    // A folder does not open without backup semantics; a pipe or a device would block or never
    // end.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        result.error = SystemErrorText(ERROR_INVALID_PARAMETER);
        return result;
    }
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)) {
            result.error = SystemErrorText(::GetLastError());
            break;
        }
        if (count == 0)
            break;
        text.append(buffer, count);
    }
    return result;
}

void ReplaceFile(const std::string& path, std::string_view contents) {
    std::string temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    do {
        temporary = TemporaryName(path);
        handle = ::CreateFileW(WidePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
    } while (NameTaken(error));
    if (handle == INVALID_HANDLE_VALUE)
        ThrowCreateError(path, error);

    FileHandle file(handle);
    if (!WriteAll(file.Get(), contents) || !::FlushFileBuffers(file.Get()))
        error = ::GetLastError();
    if (!file.Close() && error == 0)
        error = ::GetLastError();
    // The new name reaches the disk before the call returns.
    if (error == 0 && !::MoveFileExW(WidePath(temporary).c_str(), WidePath(path).c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error != 0) {
        ::DeleteFileW(WidePath(temporary).c_str());
        ThrowCreateError(path, error);
    }
}

TrsRenameResult RenameBeside(const std::string& path, std::string_view suffix) {
    constexpr int kMostNames = 1000;
    const std::wstring from = WidePath(path);
    for (int number = 1; number <= kMostNames; ++number) {
        const std::string candidate = path +
                                      (number == 1 ? std::string() : "." + std::to_string(number)) +
                                      std::string(suffix);
        // Without MOVEFILE_REPLACE_EXISTING a name that is taken is refused, never replaced.
        if (::MoveFileExW(from.c_str(), WidePath(candidate).c_str(), 0))
            return {candidate, {}};
        const DWORD error = ::GetLastError();
        if (!NameTaken(error))
            return {{}, SystemErrorText(error)};
    }
    return {{}, SystemErrorText(ERROR_ALREADY_EXISTS)};
}

} // namespace mirelon
