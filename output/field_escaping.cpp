#include "output/field_escaping.h"

#include "base/hex_text.h"

#include <cstdint>

namespace mirelon {

namespace {

struct ByteRange {
    uint8_t low;
    uint8_t high;
};

constexpr ByteRange kContinuation{0x80, 0xBF};

// Allowed range of the second byte after each lead byte; later bytes are plain continuations.
// This rejects overlong forms, surrogates and code points above U+10FFFF.
bool SecondByteRange(uint8_t lead, ByteRange& range, std::size_t& length) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        range = kContinuation;
        length = 2;
    } else if (lead == 0xE0) {
        range = {0xA0, 0xBF};
        length = 3;
    } else if (lead == 0xED) {
        range = {0x80, 0x9F};
        length = 3;
    } else if (lead >= 0xE1 && lead <= 0xEF) {
        range = kContinuation;
        length = 3;
    } else if (lead == 0xF0) {
        range = {0x90, 0xBF};
        length = 4;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        range = kContinuation;
        length = 4;
    } else if (lead == 0xF4) {
        range = {0x80, 0x8F};
        length = 4;
    } else {
        return false;
    }
    return true;
}

bool InRange(uint8_t byte, ByteRange range) {
    return byte >= range.low && byte <= range.high;
}

void AppendUnicodeEscape(std::string& out, uint8_t byte) {
    out += "\\u00";
    AppendHexByte(out, byte);
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t& invalidLength) {
    invalidLength = 1;
    if (bytes.empty()) {
        invalidLength = 0;
        return 0;
    }
    const auto lead = static_cast<uint8_t>(bytes[0]);
    if (lead < 0x80) {
        return 1;
    }
    ByteRange range{};
    std::size_t length = 0;
    if (!SecondByteRange(lead, range, length)) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size() || !InRange(static_cast<uint8_t>(bytes[i]), range)) {
            invalidLength = i;
            return 0;
        }
        range = kContinuation;
    }
    return length;
}

std::string TsvField(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string CsvField(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(value);
    }
    std::string out;
    out.reserve(value.size() + 2);
    out += '"';
    for (const char c : value) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string JsonString(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 2);
    out += '"';
    std::size_t at = 0;
    while (at < value.size()) {
        const auto byte = static_cast<uint8_t>(value[at]);
        if (byte < 0x80) {
            switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    AppendUnicodeEscape(out, byte);
                } else {
                    out += static_cast<char>(byte);
                }
            }
            ++at;
            continue;
        }
        std::size_t invalidLength = 0;
        const std::size_t length = Utf8SequenceLength(value.substr(at), invalidLength);
        if (length > 0) {
            out.append(value.substr(at, length));
            at += length;
        } else {
            out += "\xEF\xBF\xBD";
            at += invalidLength;
        }
    }
    out += '"';
    return out;
}

} // namespace mirelon
