#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirelon {

// How much of a value a message quotes.
inline constexpr size_t kMessageValueCharacters = 80;

// The UTF-8 text as a message quotes it: whole when it has at most kMessageValueCharacters
// characters, otherwise its first kMessageValueCharacters characters followed by "…". A byte that
// does not belong to a UTF-8 sequence counts as one character; a sequence is never split.
std::string ShortenedForMessage(std::string_view text);

// A number of bytes in megabytes of 1024 x 1024 bytes with one decimal: "12.3 MB".
std::string MegabytesText(uint64_t bytes);

} // namespace mirelon
