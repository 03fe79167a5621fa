#include "base/hex_text.h"

namespace mirelon {

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
}

std::string ToHex(int digits, uint64_t value) {
    if (digits <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(digits), '0');
    for (size_t i = text.size(); i-- > 0 && value != 0;) {
        text[i] = kHexDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

std::string DigestText(const uint8_t* digest, size_t length) {
    std::string text(length * 2, '0');
    for (size_t i = 0; i < length; ++i) {
        text[2 * i] = kHexDigits[digest[i] >> 4];
        text[2 * i + 1] = kHexDigits[digest[i] & 0xF];
    }
    return text;
}

} // namespace mirelon
