// Any bytes (a path is any bytes) must come out of each field escaping as a field its format's
// reader takes back: JSON as valid UTF-8 that decodes to the input wherever the input was
// valid UTF-8, TSV and CSV exactly.
#include "output/field_escaping.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Decodes one code point by its arithmetic, independent of the encoder's byte tables.
bool DecodeUtf8(std::string_view text, std::size_t& at, uint32_t& codePoint) {
    const auto lead = static_cast<uint8_t>(text[at]);
    std::size_t length = lead < 0x80         ? 1
                         : lead >> 5 == 0x6  ? 2
                         : lead >> 4 == 0xE  ? 3
                         : lead >> 3 == 0x1E ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) {
        return false;
    }
    codePoint = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[at + i]);
        if (next >> 6 != 0x2) {
            return false;
        }
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return false;
    }
    at += length;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t at = 0;
    uint32_t codePoint = 0;
    while (at < text.size()) {
        if (!DecodeUtf8(text, at, codePoint)) {
            return false;
        }
    }
    return true;
}

void AppendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | codePoint >> 6);
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | codePoint >> 12);
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string DecodeJsonString(std::string_view json) {
    Check(json.size() >= 2 && json.front() == '"' && json.back() == '"');
    json = json.substr(1, json.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const auto c = static_cast<uint8_t>(json[i]);
        Check(c >= 0x20 && c != '"');
        if (c != '\\') {
            out += static_cast<char>(c);
            continue;
        }
        Check(++i < json.size());
        switch (json[i]) {
        case '"':
        case '\\':
        case '/':
            out += json[i];
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'u': {
            Check(i + 4 < json.size());
            const std::string hex(json.substr(i + 1, 4));
            char* end = nullptr;
            const unsigned long value = std::strtoul(hex.c_str(), &end, 16);
            Check(end == hex.c_str() + 4);
            Check(value < 0xD800 || value > 0xDFFF);
            AppendUtf8(out, static_cast<uint32_t>(value));
            i += 4;
            break;
        }
        default:
            Check(false);
        }
    }
    return out;
}

std::string TsvUnescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        Check(field[i] != '\t' && field[i] != '\n' && field[i] != '\r');
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        Check(++i < field.size());
        const char next = field[i];
        Check(next == '\\' || next == 't' || next == 'n' || next == 'r');
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
    }
    return out;
}

std::string CsvUnquote(std::string_view field) {
    if (field.empty() || field.front() != '"') {
        Check(field.find_first_of(",\"\r\n") == std::string_view::npos);
        return std::string(field);
    }
    Check(field.size() >= 2 && field.back() == '"');
    std::string out;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        if (field[i] == '"') {
            Check(field[++i] == '"' && i + 1 < field.size());
        }
        out += field[i];
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string json = mirelon::JsonString(input);
    Check(IsValidUtf8(json));
    const std::string decoded = DecodeJsonString(json);
    if (IsValidUtf8(input)) {
        Check(decoded == input);
    } else {
        Check(decoded.find("\xEF\xBF\xBD") != std::string::npos);
    }

    Check(TsvUnescape(mirelon::TsvField(input)) == input);
    Check(CsvUnquote(mirelon::CsvField(input)) == input);
    return 0;
}
