#pragma once

#include <cstdint>
#include <string_view>

namespace mirelon {

// Alphabetic order: ASCII letters compare without case first; texts equal that way fall back to
// byte order, so equal texts stay next to each other after sorting.
int CompareAlphabetic(std::string_view left, std::string_view right);

// The first eight bytes of a text, letters folded as CompareAlphabetic folds them, packed so that
// a smaller prefix means an earlier text. Equal prefixes leave the order to CompareAlphabetic.
std::uint64_t AlphabeticPrefix(std::string_view text);

// The number in a File Size cell; text that is no whole number counts as 0.
std::int64_t NumberSortKey(std::string_view text);

// A catalog date text ("YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS") as YYYYMMDDhhmmss, so dates order
// as dates; anything else orders before every date.
std::int64_t DateSortKey(std::string_view text);

} // namespace mirelon
