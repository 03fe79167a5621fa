#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// The stored form of an extension filter: an empty or all-blank text means every file ("*;"),
// and a missing final ";" is added. Other blanks are kept.
std::string NormalizedExtensions(const std::string& text);

// True when the filter text holds "*;" anywhere.
bool FilterTakesAllFiles(std::string_view filter);

// The name's extension, ASCII-lower-cased, without its dot and followed by ";", found anywhere in
// the filter text. Names without an extension (or with only blanks after the dot) never match.
bool MatchesExtensionFilter(std::string_view name, std::string_view filter);

} // namespace mirelon
