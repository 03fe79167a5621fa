#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// Paths are bytes, not text: every escaping below takes any byte sequence and yields a field
// that its format's readers split back correctly.

// A TSV field: backslash, tab, line feed and carriage return become \\, \t, \n and \r, so that
// a tab still ends a field and a line feed still ends a row.
std::string TsvField(std::string_view value);

// A CSV field as RFC 4180 writes it: quoted, with inner quotes doubled, when it holds a comma, a
// quote, a carriage return or a line feed; as it is otherwise.
std::string CsvField(std::string_view value);

// A JSON string literal, quotes included. Control characters use \u escapes (or their short
// forms); bytes that are not well-formed UTF-8 become U+FFFD, one per maximal invalid
// subsequence, so the output is always valid UTF-8 and valid JSON.
std::string JsonString(std::string_view value);

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when it does not
// start with one; `invalidLength` then receives how many bytes one U+FFFD stands for.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t& invalidLength);

} // namespace mirelon
