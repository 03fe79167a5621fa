#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// The form after "text:": the string in double quotes, "$" doubled and every byte below 32 as
// "$" plus two upper-case hexadecimal digits, so a value never spans lines.
std::string EscapeText(std::string_view text);

// Reads the escaped form: an opening quote is skipped and a quote that ends the text closes it.
// A "$" that starts no valid escape is kept as it stands.
std::string UnescapeText(std::string_view escaped);

} // namespace mirelon
