#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// Number texts of the settings file. The decimal separator is always '.', whatever the locale,
// so a file reads the same on every machine. Parsers take the whole text or give nullopt.

// Optional '+' or '-', then decimal digits only.
std::optional<int32_t> ParseInt32(std::string_view text);
std::optional<int64_t> ParseInt64(std::string_view text);

// Optional sign, digits with at most one '.', at least one digit; finite results only.
std::optional<double> ParseFloat(std::string_view text);

// The shortest general form with up to 15 significant digits ("1.5", "12", "1e+20").
std::string FormatFloat(double value);

// Fixed point with four decimals; a fifth decimal and beyond round half away from zero.
std::optional<int64_t> ParseCurrency(std::string_view text);
std::string FormatCurrency(int64_t scaled);

} // namespace mirelon
