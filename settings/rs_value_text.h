#pragma once

#include "settings/rs_value.h"

#include <string>
#include <string_view>

namespace mirelon {

// The value text after "=" decides the type: quoted strings, integers (the 10-digit rule),
// int64, floats, the prefixes "curr:", "date:", "hex:", "int64:", "point:", the Booleans and
// the escaped "text:" form. A prefixed text whose rest does not parse stays a string as written.
TrsValue ParseValueText(std::string_view text);

// The value text of a key line. Binary values longer than one line continue on following lines,
// each broken line ending in "\" and the next beginning with two blanks.
std::string FormatValueText(const TrsValue& value);

// Bytes per line of a written binary value.
inline constexpr size_t kBinaryBytesPerLine = 32;

} // namespace mirelon
