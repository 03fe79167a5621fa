#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirelon {

// The low 4 x `digits` bits of `value` as exactly `digits` lower-case hex digits, most
// significant first; digits beyond the 64 bits of the value are zeros.
std::string ToHex(int digits, uint64_t value);

// Every byte of a digest, in the digest's own order, as two lower-case hex digits.
std::string DigestText(const uint8_t* digest, size_t length);

enum class THexLetters { Lower, Upper };

// Appends the byte's two hex digits, the high one first.
void AppendHexByte(std::string& text, uint8_t byte, THexLetters letters = THexLetters::Lower);

// The value of a hex digit of either letter case; -1 for any other character.
int HexDigitValue(char c);

} // namespace mirelon
