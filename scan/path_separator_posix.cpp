#include "scan/path_separator.h"

namespace mirelon {

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

// Any other byte, '\' and ':' included, may stand in a name here.
std::string FileNameOf(std::string_view fullPath) {
    const size_t separator = fullPath.rfind('/');
    return std::string(separator == std::string_view::npos ? fullPath
                                                           : fullPath.substr(separator + 1));
}

} // namespace mirelon
