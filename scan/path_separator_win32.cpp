#include "scan/path_separator.h"

namespace mirelon {

char PathSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// A colon anywhere else would name a stream of the file, which a walk never reports.
std::string FileNameOf(std::string_view fullPath) {
    size_t start = 0;
    if (fullPath.size() >= 2 && fullPath[1] == ':') {
        start = 2;
    }
    for (size_t i = fullPath.size(); i > start; --i) {
        if (IsPathSeparator(fullPath[i - 1])) {
            start = i;
            break;
        }
    }
    return std::string(fullPath.substr(start));
}

} // namespace mirelon
