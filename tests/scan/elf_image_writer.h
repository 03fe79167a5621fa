#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirelon::testing {

struct ElfImageSpec {
    bool is64 = true;
    bool bigEndian = false;
    std::vector<std::string> needed;
    std::optional<std::string> soname;
};

// File offsets of the parts a test may want to damage.
struct ElfImageLayout {
    std::size_t programHeaderOffsetField = 0; // e_phoff in the ELF header
    std::size_t sectionHeaderOffsetField = 0; // e_shoff in the ELF header
    std::size_t strings = 0;                  // .dynstr
    std::size_t dynamic = 0;                  // .dynamic
    std::size_t stringsHeader = 0;            // section header of .dynstr
    std::size_t dynamicHeader = 0;            // section header of .dynamic
    std::size_t stringsSize = 0;              // of .dynstr, the last name's zero included
};

// A small shared library or program as a linker would lay it out: ELF header, program headers,
// .dynstr, .dynamic (needed entries, then the soname, then the string table's address and size),
// .shstrtab and the section headers at the end.
std::vector<uint8_t> WriteElfImage(const ElfImageSpec& spec, ElfImageLayout* layout = nullptr);

// Field writers in the image's byte order; `width` 2, 4 or 8 bytes.
class ElfFieldWriter {
public:
    ElfFieldWriter(std::vector<uint8_t>& bytes, bool is64, bool bigEndian)
        : bytes_(bytes), is64_(is64), bigEndian_(bigEndian) {}
    void Put(std::size_t offset, uint64_t value, std::size_t width);
    // An address, offset or size: 8 bytes in a 64-bit file, 4 in a 32-bit one.
    void PutWord(std::size_t offset, uint64_t value) { Put(offset, value, is64_ ? 8 : 4); }
    // Section header fields, by position.
    std::size_t SectionLinkField(std::size_t header) const { return header + 8 + 4 * Word(); }
    std::size_t SectionOffsetField(std::size_t header) const { return header + 8 + 2 * Word(); }
    std::size_t SectionSizeField(std::size_t header) const { return header + 8 + 3 * Word(); }
    std::size_t Word() const { return is64_ ? 8 : 4; }

private:
    std::vector<uint8_t>& bytes_;
    bool is64_;
    bool bigEndian_;
};

} // namespace mirelon::testing
