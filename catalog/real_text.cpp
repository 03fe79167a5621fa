#include "catalog/real_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace mirelon {

namespace {

constexpr int kSignificantDigits = 15;

void DropTrailingZeros(std::string& digits) {
    if (digits.find('.') == std::string::npos)
        return;
    while (digits.back() == '0')
        digits.pop_back();
    if (digits.back() == '.')
        digits.pop_back();
}

} // namespace

std::string GeneralRealText(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    if (value == 0)
        return "0";

    // Round to 15 digits first; the exponent after rounding picks the notation.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific, kSignificantDigits - 1);
    std::string scientific(buffer, result.ptr);
    const size_t exponentAt = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + exponentAt + 1);

    if (exponent < -5 || exponent >= kSignificantDigits) {
        std::string mantissa = scientific.substr(0, exponentAt);
        DropTrailingZeros(mantissa);
        return mantissa + scientific.substr(exponentAt);
    }
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                           kSignificantDigits - 1 - exponent);
    std::string fixed(buffer, result.ptr);
    DropTrailingZeros(fixed);
    return fixed;
}

} // namespace mirelon
