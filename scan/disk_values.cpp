#include "scan/disk_values.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace mirelon {

namespace {

constexpr int64_t kKb = 1024;
constexpr int64_t kMb = 1024 * kKb;
constexpr int64_t kGb = 1024 * kMb;

// `digits` with the locale's thousands separators placed from the right by its grouping.
std::string Grouped(const std::string& digits, const std::numpunct<char>& punct) {
    const std::string grouping = punct.grouping();
    if (grouping.empty()) {
        return digits;
    }
    std::string result;
    size_t group = 0;
    int inGroup = 0;
    for (size_t i = digits.size(); i-- > 0;) {
        const int size = static_cast<unsigned char>(grouping[group]);
        if (size > 0 && size != CHAR_MAX && inGroup == size) {
            result += punct.thousands_sep();
            inGroup = 0;
            if (group + 1 < grouping.size()) {
                ++group;
            }
        }
        result += digits[i];
        ++inGroup;
    }
    return std::string(result.rbegin(), result.rend());
}

// `value` rounded half away from zero to `decimals` places, in the locale's number form.
std::string LocaleNumber(double value, int decimals, const std::locale& locale) {
    const auto& punct = std::use_facet<std::numpunct<char>>(locale);
    const double scale = decimals == 2 ? 100.0 : 1.0;
    const long long scaled = std::llround(value * scale);
    const long long whole = scaled / static_cast<long long>(scale);
    std::string text = Grouped(std::to_string(std::llabs(whole)), punct);
    if (scaled < 0) {
        text.insert(0, 1, '-');
    }
    if (decimals == 2) {
        const long long fraction = std::llabs(scaled) % 100;
        text += punct.decimal_point();
        text += static_cast<char>('0' + fraction / 10);
        text += static_cast<char>('0' + fraction % 10);
    }
    return text;
}

} // namespace

std::string DriveTypeText(int number) {
    static const std::array<const char*, 7> kTexts = {"Unknown", "No Drive", "Removable", "Fixed",
                                                      "Remote",  "CdRom",    "Ram"};
    return number >= 0 && number < static_cast<int>(kTexts.size()) ? kTexts[number] : "";
}

std::string DiskSizeText(int64_t value, const std::locale& locale) {
    if (value < kKb) {
        return std::to_string(value) + " bytes";
    }
    if (value < kMb) {
        return LocaleNumber(static_cast<double>(value) / kKb, 0, locale) + " Kb";
    }
    if (value < kGb) {
        return LocaleNumber(static_cast<double>(value) / kMb, 0, locale) + " Mb";
    }
    return LocaleNumber(static_cast<double>(value) / kGb, 2, locale) + " Gb";
}

const std::locale& UserLocale() {
    static const std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return locale;
}

std::string TrimmedVolumeText(const std::string& text) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace mirelon
