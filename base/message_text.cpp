#include "base/message_text.h"

#include <cstdio>

namespace mirelon {

namespace {

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Bytes of the character that starts at `at`: a lead byte with the continuation bytes it
// announces and that follow, or a single byte.
size_t CharacterLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t announced = 1;
    if (lead >= 0xF0 && lead <= 0xF7) {
        announced = 4;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        announced = 3;
    } else if (lead >= 0xC0 && lead <= 0xDF) {
        announced = 2;
    }
    size_t length = 1;
    while (length < announced && at + length < text.size() &&
           IsContinuationByte(static_cast<unsigned char>(text[at + length]))) {
        ++length;
    }
    return length;
}

} // namespace

std::string ShortenedForMessage(std::string_view text) {
    size_t at = 0;
    for (size_t characters = 0; at < text.size(); ++characters) {
        if (characters == kMessageValueCharacters) {
            return std::string(text.substr(0, at)) + "\xE2\x80\xA6";
        }
        at += CharacterLength(text, at);
    }
    return std::string(text);
}

std::string MegabytesText(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

} // namespace mirelon
