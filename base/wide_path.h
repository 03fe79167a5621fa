#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// Paths are UTF-8 inside the program and UTF-16 at every Windows call. Only the Windows side of
// the platform seams includes this.

// UTF-8 to the wide text Windows calls take (invalid bytes become U+FFFD).
std::wstring WideText(std::string_view text);

// Wide text from Windows to UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string Utf8Text(std::wstring_view text);

// A path in the form the wide file calls take whatever its length: made full, '/' turned into
// '\', and given the "\\?\" (or "\\?\UNC\") prefix that lifts the limit of 260 characters.
// Device paths ("\\.\...") and paths that already carry the prefix are passed unchanged.
std::wstring WidePath(std::string_view path);

} // namespace mirelon
