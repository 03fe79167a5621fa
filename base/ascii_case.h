#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// Letter case of the ASCII letters only, the same in every locale: every other byte, those of
// UTF-8 sequences included, stays as it is.

constexpr char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ToUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace mirelon
