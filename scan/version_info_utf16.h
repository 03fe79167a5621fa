#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mirelon {

// UTF-16LE code units (an odd last byte is ignored) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16Le(std::span<const uint8_t> bytes);

} // namespace mirelon
