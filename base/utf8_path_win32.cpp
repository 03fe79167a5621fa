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

// The real path of a name met by the walk still has its unpaired surrogate.
bool HasReplacedName(std::string_view path) {
    return HasUnpairedSurrogate(WidePath(path));
}

} // namespace mirelon
