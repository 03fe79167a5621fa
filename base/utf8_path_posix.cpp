#include "base/utf8_path.h"

namespace mirelon {

// Linux paths are bytes, and so is the text of a std::filesystem::path there.
std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.native();
}

bool HasReplacedName(std::string_view) {
    return false;
}

} // namespace mirelon
