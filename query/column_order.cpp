#include "query/column_order.h"

#include "base/ascii_case.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace mirelon {

namespace {

unsigned char FoldAscii(char c) {
    return static_cast<unsigned char>(ToLowerAscii(c));
}

// Reads exactly `digits` decimal digits at `pos`; -1 when any of them is not a digit.
int DigitsAt(std::string_view text, std::size_t pos, std::size_t digits) {
    int value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

int CompareAlphabetic(std::string_view left, std::string_view right) {
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (left[i] == right[i]) {
            continue;
        }
        const unsigned char a = FoldAscii(left[i]);
        const unsigned char b = FoldAscii(right[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (left.size() != right.size()) {
        return left.size() < right.size() ? -1 : 1;
    }
    const int bytes = left.compare(right);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

std::uint64_t AlphabeticPrefix(std::string_view text) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const unsigned char c = i < text.size() ? FoldAscii(text[i]) : 0;
        prefix = prefix << 8 | c;
    }
    return prefix;
}

std::int64_t NumberSortKey(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return value;
}

std::int64_t DateSortKey(std::string_view text) {
    constexpr std::int64_t kNoDate = std::numeric_limits<std::int64_t>::min();
    if ((text.size() != 10 && text.size() != 19) || text[4] != '-' || text[7] != '-') {
        return kNoDate;
    }
    const int year = DigitsAt(text, 0, 4);
    const int month = DigitsAt(text, 5, 2);
    const int day = DigitsAt(text, 8, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31) {
        return kNoDate;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (text.size() == 19) {
        if (text[10] != ' ' || text[13] != ':' || text[16] != ':') {
            return kNoDate;
        }
        hour = DigitsAt(text, 11, 2);
        minute = DigitsAt(text, 14, 2);
        second = DigitsAt(text, 17, 2);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
            return kNoDate;
        }
    }
    return ((((static_cast<std::int64_t>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 +
            minute) *
               100 +
           second;
}

} // namespace mirelon
