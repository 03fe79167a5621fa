#include "settings/rs_escaped_text.h"

#include "base/hex_text.h"

namespace mirelon {

std::string EscapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '$') {
            out += "$$";
        } else if (byte < 32) {
            out += '$';
            AppendHexByte(out, byte, THexLetters::Upper);
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string UnescapeText(std::string_view escaped) {
    if (!escaped.empty() && escaped.front() == '"')
        escaped.remove_prefix(1);
    if (!escaped.empty() && escaped.back() == '"')
        escaped.remove_suffix(1);
    std::string out;
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c != '$') {
            out += c;
            continue;
        }
        if (i + 1 < escaped.size() && escaped[i + 1] == '$') {
            out += '$';
            ++i;
            continue;
        }
        const int high = i + 1 < escaped.size() ? HexDigitValue(escaped[i + 1]) : -1;
        const int low = i + 2 < escaped.size() ? HexDigitValue(escaped[i + 2]) : -1;
        if (high < 0 || low < 0) {
            out += c;
            continue;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

} // namespace mirelon
