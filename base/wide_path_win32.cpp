#include "base/wide_path.h"

#include "base/utf16_text.h"

#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace mirelon {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && path[2] == L'\\';
}

bool IsUnc(std::wstring_view path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

// "." and ".." parts and doubled separators need the system's own resolution; the prefix turns
// that off.
bool NeedsResolving(std::wstring_view path) {
    const size_t start = IsUnc(path) ? 2 : 0;
    for (size_t at = start; at < path.size();) {
        size_t end = path.find(L'\\', at);
        if (end == std::wstring_view::npos) {
            end = path.size();
        }
        const std::wstring_view part = path.substr(at, end - at);
        if ((part.empty() && end < path.size()) || part == L"." || part == L"..") {
            return true;
        }
        at = end + 1;
    }
    return false;
}

std::wstring FullPath(const std::wstring& path) {
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    while (size > 0) {
        std::wstring full(size, L'\0');
        const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (length < size) {
            full.resize(length);
            return full;
        }
        size = length; // the name changed in between; try with the new size
    }
    return path;
}

// The real long paths of the entries whose names no UTF-8 text can hold, by the form their
// UTF-8 text takes back. Few on any disk; kept while the program runs.
struct UnpairedPaths {
    std::mutex mutex;
    std::unordered_map<std::wstring, std::wstring> realByReadBack;
};

UnpairedPaths& TheUnpairedPaths() {
    static UnpairedPaths paths;
    return paths;
}

std::wstring LongForm(std::string_view path) {
    std::wstring wide = WideText(path);
    if (StartsWith(wide, kLongPrefix) || StartsWith(wide, kDevicePrefix)) {
        return wide;
    }
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (wide.empty()) {
        return wide;
    }
    if (!(IsDriveAbsolute(wide) || IsUnc(wide)) || NeedsResolving(wide)) {
        wide = FullPath(wide);
        if (StartsWith(wide, kLongPrefix) || StartsWith(wide, kDevicePrefix)) {
            return wide; // a device name such as "NUL" resolves to its device path
        }
    }
    if (IsUnc(wide)) {
        return std::wstring(kLongUncPrefix) + wide.substr(2);
    }
    if (IsDriveAbsolute(wide)) {
        return std::wstring(kLongPrefix) + wide;
    }
    return wide;
}

} // namespace

std::wstring WideText(std::string_view text) {
    const std::u16string units = Utf16FromUtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string Utf8Text(std::wstring_view text) {
    return Utf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring WidePath(std::string_view path) {
    std::wstring wide = LongForm(path);
    if (wide.find(L'\uFFFD') != std::wstring::npos) {
        UnpairedPaths& paths = TheUnpairedPaths();
        const std::lock_guard lock(paths.mutex);
        if (const auto found = paths.realByReadBack.find(wide);
            found != paths.realByReadBack.end()) {
            return found->second;
        }
    }
    return wide;
}

bool HasUnpairedSurrogate(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

void RememberUnpairedPath(const std::wstring& longPath) {
    UnpairedPaths& paths = TheUnpairedPaths();
    const std::lock_guard lock(paths.mutex);
    paths.realByReadBack.insert_or_assign(WideText(Utf8Text(longPath)), longPath);
}

} // namespace mirelon
