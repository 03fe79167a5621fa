#include "cleanup/file_lookup.h"

#include "base/system_error_text.h"
#include "base/wide_path.h"

#include <windows.h>

namespace mirelon {

std::string LookUpFailure(const std::string& path) {
    if (::GetFileAttributesW(WidePath(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
        return SystemErrorText(::GetLastError());
    }
    return "cannot be looked at";
}

} // namespace mirelon
