#include "settings/rs_number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mirelon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// from_chars takes a '-' but no '+'.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

template <typename Int> std::optional<Int> ParseInteger(std::string_view text) {
    text = WithoutPlus(text);
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    Int value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int32_t> ParseInt32(std::string_view text) {
    return ParseInteger<int32_t>(text);
}

std::optional<int64_t> ParseInt64(std::string_view text) {
    return ParseInteger<int64_t>(text);
}

std::optional<double> ParseFloat(std::string_view text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::string_view body = text.substr(at);
    int digits = 0;
    int separators = 0;
    for (const char c : body) {
        if (IsDigit(c))
            ++digits;
        else if (c == '.')
            ++separators;
        else
            return std::nullopt;
    }
    if (digits == 0 || separators > 1)
        return std::nullopt;
    double value = 0;
    const char* end = body.data() + body.size();
    const auto [ptr, ec] = std::from_chars(body.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string FormatFloat(double value) {
    char buffer[40];
    const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::string(buffer, static_cast<size_t>(length));
}

std::optional<int64_t> ParseCurrency(std::string_view text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    // Accumulate the magnitude in units of 1/10000, checking for overflow as we go.
    constexpr uint64_t kLimit = static_cast<uint64_t>(INT64_MAX) + 1;
    uint64_t magnitude = 0;
    int digits = 0;
    int decimals = -1;
    bool roundUp = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (!IsDigit(c))
            return std::nullopt;
        ++digits;
        if (decimals >= 4) {
            if (decimals == 4)
                roundUp = c >= '5';
            ++decimals;
            continue;
        }
        const auto digit = static_cast<uint64_t>(c - '0');
        if (magnitude > (kLimit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
        if (decimals >= 0)
            ++decimals;
    }
    if (digits == 0)
        return std::nullopt;
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d) {
        if (magnitude > kLimit / 10)
            return std::nullopt;
        magnitude *= 10;
    }
    if (roundUp)
        ++magnitude;
    if (magnitude > kLimit || (!negative && magnitude == kLimit))
        return std::nullopt;
    if (negative)
        return magnitude == kLimit ? INT64_MIN : -static_cast<int64_t>(magnitude);
    return static_cast<int64_t>(magnitude);
}

std::string FormatCurrency(int64_t scaled) {
    const bool negative = scaled < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%04u", static_cast<unsigned>(fraction));
        std::string decimals = digits;
        while (decimals.back() == '0')
            decimals.pop_back();
        text += decimals;
    }
    return text;
}

} // namespace mirelon
