#include "base/executable_path.h"

#include "base/wide_path.h"

#include <windows.h>

namespace mirelon {

std::string ExecutablePath() {
    // The buffer grows until the whole path fits: a path may be longer than MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return Utf8Text(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace mirelon
