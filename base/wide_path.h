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
// A path read back from UTF-8 whose name was no valid UTF-16 has U+FFFD in place of each
// unpaired surrogate and names no file any more; the folder walk notes the real path of such an
// entry, whose UTF-8 form WidePath then gives back as the real one.
std::wstring WidePath(std::string_view path);

// Whether the text has a surrogate without its other half.
bool HasUnpairedSurrogate(std::wstring_view text);

// Notes `longPath` (a path in the form WidePath gives) as one that no UTF-8 text can name.
void RememberUnpairedPath(const std::wstring& longPath);

} // namespace mirelon
