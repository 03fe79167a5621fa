#include "base/hex_text.h"

namespace mirelon {

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
} // namespace

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

void AppendHexByte(std::string& text, uint8_t byte, THexLetters letters) {
    const char* digits = letters == THexLetters::Upper ? kUpperHexDigits : kHexDigits;
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace mirelon
