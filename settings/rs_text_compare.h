#pragma once

#include "base/ascii_case.h"

#include <string_view>

namespace mirelon {

// Section and key names: ASCII letters compare without case, every other byte by its code.
inline int CompareNames(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(ToUpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(ToUpperAscii(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNames(a, b) == 0;
}

} // namespace mirelon
