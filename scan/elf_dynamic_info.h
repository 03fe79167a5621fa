#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mirelon {

class TPeByteSource;
class TPeFileSource;

// What an ELF file (32- or 64-bit, either byte order) tells the dynamic loader about libraries:
// the names it needs (DT_NEEDED, in file order, letter case and duplicates kept) and, for a
// shared library, the name it calls itself (DT_SONAME), both as stored.
struct ElfDynamicInfo {
    std::vector<std::string> needed;
    std::string soname;
};

// Needed names past this many are dropped: real programs and libraries need a few dozen, and a
// list this long is damage or a trap, not something a catalog row should carry.
inline constexpr std::size_t kMaxNeededLibraries = 1024;

// Whether the bytes start with the ELF magic; only such files are handed to the ELF reader.
bool HasElfMagic(const TPeByteSource& source);

// Read from the dynamic section and the string table it links to. Empty for anything that is not
// a well-formed ELF file with a dynamic section (a static program, an object file, a separate
// debug file, a damaged file), whatever is wrong with it; never throws and never reads outside
// the file.
ElfDynamicInfo ReadElfDynamicInfo(const TPeFileSource& file);
ElfDynamicInfo ParseElfDynamicInfo(std::span<const uint8_t> image);

} // namespace mirelon
