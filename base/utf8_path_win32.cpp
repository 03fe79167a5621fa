#include "base/utf8_path.h"

#include "base/wide_path.h"

namespace mirelon {

// The conversions of the wide paths: the standard library's own would throw on a name that is
// no valid UTF-16, and Windows allows such names.
std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(WideText(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return Utf8Text(path.native());
}

} // namespace mirelon
