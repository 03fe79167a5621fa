#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mirelon {

class TPeByteSource;

// Module names a PE32 or PE32+ image imports: the import directory, then the delay-load
// directory, in file order, lower-cased, duplicates kept. Empty for anything that is not a
// well-formed image, whatever is wrong with it; never throws.
std::vector<std::string> ReadImportModules(const std::string& path);
std::vector<std::string> ParseImportModules(std::span<const uint8_t> image);
std::vector<std::string> ReadImportModules(const TPeByteSource& source);

} // namespace mirelon
