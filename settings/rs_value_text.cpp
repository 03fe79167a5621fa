#include "settings/rs_value_text.h"

#include "base/hex_text.h"
#include "catalog/date_time.h"
#include "settings/rs_escaped_text.h"
#include "settings/rs_number_text.h"
#include "settings/rs_text_compare.h"

#include <optional>

namespace mirelon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithName(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

// A sign, digits and at most one '.'; nullopt when the text is not of that shape.
std::optional<TrsValue> ParseNumber(std::string_view text) {
    const bool signed_ = text.front() == '+' || text.front() == '-';
    const std::string_view body = text.substr(signed_ ? 1 : 0);
    size_t digits = 0;
    bool separator = false;
    for (const char c : body) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.' && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (separator) {
        if (const auto value = ParseFloat(text))
            return TrsValue(*value);
        return std::nullopt;
    }
    bool fitsInteger = digits < 10;
    if (digits == 10)
        fitsInteger = body <= (text.front() == '-' ? "2147483648" : "2147483647");
    if (fitsInteger) {
        if (const auto value = ParseInt32(text))
            return TrsValue(*value);
        return std::nullopt;
    }
    if (const auto value = ParseInt64(text))
        return TrsValue(*value);
    return std::nullopt;
}

std::optional<TrsBinary> ParseBinary(std::string_view text) {
    TrsBinary binary;
    size_t at = 0;
    while (at < text.size()) {
        size_t comma = text.find(',', at);
        if (comma == std::string_view::npos)
            comma = text.size();
        std::string_view item = text.substr(at, comma - at);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (item.empty() && comma == text.size())
            break;
        unsigned value = 0;
        if (item.empty() || item.size() > 2)
            return std::nullopt;
        for (const char c : item) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        binary.bytes.push_back(static_cast<uint8_t>(value));
        at = comma + 1;
    }
    return binary;
}

std::optional<TrsPoint> ParsePoint(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto x = ParseInt32(text.substr(0, comma));
    const auto y = ParseInt32(text.substr(comma + 1));
    if (!x || !y)
        return std::nullopt;
    return TrsPoint{*x, *y};
}

std::optional<TrsValue> ParsePrefixed(std::string_view text) {
    if (StartsWithName(text, "curr:")) {
        if (const auto value = ParseCurrency(text.substr(5)))
            return TrsValue(TrsCurrency{*value});
    } else if (StartsWithName(text, "date:")) {
        if (const auto value = ParseDateText(text.substr(5)))
            return TrsValue(TrsDateTime{*value});
    } else if (StartsWithName(text, "hex:")) {
        if (auto value = ParseBinary(text.substr(4)))
            return TrsValue(std::move(*value));
    } else if (StartsWithName(text, "int64:")) {
        if (const auto value = ParseInt64(text.substr(6)))
            return TrsValue(*value);
    } else if (StartsWithName(text, "point:")) {
        if (const auto value = ParsePoint(text.substr(6)))
            return TrsValue(*value);
    }
    return std::nullopt;
}

std::string FormatBinary(const TrsBinary& binary) {
    std::string text = "hex:";
    for (size_t i = 0; i < binary.bytes.size(); ++i) {
        if (i != 0) {
            text += ',';
            if (i % kBinaryBytesPerLine == 0)
                text += "\\\r\n  ";
        }
        AppendHexByte(text, binary.bytes[i], THexLetters::Upper);
    }
    return text;
}

std::string FormatString(const std::string& text) {
    if (text.empty())
        return text;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 32)
            return "text:" + EscapeText(text);
    if (text.front() == '"' && text.back() == '"')
        return text;
    return '"' + text + '"';
}

struct ValueTextFormatter {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const std::string& text) const { return FormatString(text); }
    std::string operator()(const TrsBinary& binary) const { return FormatBinary(binary); }
    std::string operator()(int32_t value) const { return std::to_string(value); }
    std::string operator()(double value) const {
        std::string text = FormatFloat(value);
        if (text.find('.') == std::string::npos)
            text += ".0";
        return text;
    }
    std::string operator()(const TrsCurrency& value) const {
        return "curr:" + FormatCurrency(value.scaled);
    }
    std::string operator()(const TrsDateTime& value) const {
        return "date:" + DateText(value.days);
    }
    std::string operator()(bool value) const { return value ? "True" : "False"; }
    std::string operator()(const TrsPoint& point) const {
        return "point:" + std::to_string(point.x) + "," + std::to_string(point.y);
    }
    std::string operator()(int64_t value) const {
        if (value >= INT32_MIN && value <= INT32_MAX)
            return std::to_string(value);
        return "int64:" + std::to_string(value);
    }
};

} // namespace

TrsValue ParseValueText(std::string_view text) {
    if (text.empty())
        return std::string();
    if (text.size() > 1 && text.front() == '"' && text.back() == '"')
        return std::string(text.substr(1, text.size() - 2));
    if (text.front() == '+' || text.front() == '-' || IsDigit(text.front())) {
        if (auto number = ParseNumber(text))
            return std::move(*number);
    }
    if (auto prefixed = ParsePrefixed(text))
        return std::move(*prefixed);
    if (SameName(text, "True"))
        return true;
    if (SameName(text, "False"))
        return false;
    if (text.starts_with("text:"))
        return UnescapeText(text.substr(5));
    return std::string(text);
}

std::string FormatValueText(const TrsValue& value) {
    return std::visit(ValueTextFormatter{}, value);
}

} // namespace mirelon
