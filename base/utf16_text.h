#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view units);

// UTF-8 to UTF-16; each byte that does not begin a valid UTF-8 sequence (stray continuation
// bytes, overlong forms, surrogates, values past U+10FFFF, a cut-off end) becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

} // namespace mirelon
