#include "scan/path_separator.h"

namespace mirelon {

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

} // namespace mirelon
