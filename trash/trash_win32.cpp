#include "trash/trash.h"

#include "base/system_error_text.h"
#include "base/wide_path.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace mirelon {

namespace {

TrashOutcome Failed(std::string reason) {
    return {false, std::move(reason)};
}

// SHFileOperationW answers with codes of its own for some failures, Windows error codes for
// the others.
std::string ShellOperationText(int code) {
    switch (code) {
    case 0x71:
        return "the source and the destination are the same file";
    case 0x78:
        return "access denied";
    case 0x79:
        return "the path is too long";
    case 0x7C:
        return "the path is not valid";
    case 0x80:
        return "the file is in use or cannot be reached";
    case 0x402:
        return "the file cannot be reached";
    case 0x10000:
        return "the file cannot be reached (unknown error)";
    default:
        return code < 0x70 ? SystemErrorText(static_cast<DWORD>(code))
                           : "the shell could not delete it (code " + std::to_string(code) + ")";
    }
}

// The shell's file operations take neither the "\\?\" form nor '/': the full path with '\'.
std::wstring ShellPath(const std::string& path) {
    std::wstring wide = WideText(path);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::vector<wchar_t> full(needed);
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    return length > 0 && length < needed ? std::wstring(full.data(), length) : wide;
}

// The file as Windows sees it; a reason when it is gone or a folder.
std::string CheckIsFile(const std::string& path) {
    if (path.empty()) {
        return "names no file";
    }
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return SystemErrorText(::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return "is a folder, not a file";
    }
    return {};
}

bool StillThere(const std::string& path) {
    return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TrashOutcome MoveToTrash(const std::string& path) {
    if (std::string problem = CheckIsFile(path); !problem.empty()) {
        return Failed(problem);
    }
    const std::wstring full = ShellPath(path);

    // On a volume without a Recycle Bin the shell would delete the file for good without a
    // word; such a file fails instead.
    std::vector<wchar_t> volume(full.size() + 2);
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    if (!::GetVolumePathNameW(full.c_str(), volume.data(), static_cast<DWORD>(volume.size())) ||
        FAILED(::SHQueryRecycleBinW(volume.data(), &bin))) {
        return Failed("no Recycle Bin on its volume");
    }

    std::wstring from = full;
    from.push_back(L'\0'); // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // No dialog, but a warning should the shell still decide to delete for good.
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_WANTNUKEWARNING;
    const int result = ::SHFileOperationW(&operation);
    if (result != 0) {
        return Failed(ShellOperationText(result));
    }
    if (operation.fAnyOperationsAborted) {
        return Failed("moving it to the Recycle Bin was cancelled");
    }
    if (StillThere(path)) {
        return Failed("the Recycle Bin did not take it");
    }
    return {true, {}};
}

TrashOutcome DeletePermanently(const std::string& path) {
    if (std::string problem = CheckIsFile(path); !problem.empty()) {
        return Failed(problem);
    }
    if (!::DeleteFileW(WidePath(path).c_str())) {
        return Failed(SystemErrorText(::GetLastError()));
    }
    return {true, {}};
}

} // namespace mirelon
