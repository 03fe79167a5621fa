#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirelon {

// Paths are UTF-8 text inside the program. A std::filesystem::path made from a plain string
// takes the bytes in the system's narrow code page, which on Windows is not UTF-8, so every
// path handed to std::filesystem is made here and read back here.

// The path that UTF-8 text names. Linux keeps the bytes as they are (names need not be UTF-8);
// on Windows a byte that begins no valid sequence becomes U+FFFD.
std::filesystem::path PathFromUtf8(std::string_view text);

// A path as UTF-8 text; on Windows an unpaired surrogate in a name becomes U+FFFD.
std::string Utf8FromPath(const std::filesystem::path& path);

// Whether the folder walk met this path under a name that is no valid text, so that its UTF-8
// form has U+FFFD in place of what the name holds (on Windows, an unpaired surrogate). Never on
// Linux, where names are bytes and kept as they are.
bool HasReplacedName(std::string_view path);

} // namespace mirelon
