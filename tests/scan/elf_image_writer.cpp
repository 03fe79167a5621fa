#include "tests/scan/elf_image_writer.h"

#include <elf.h>

namespace mirelon::testing {

namespace {

std::size_t AlignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

} // namespace

void ElfFieldWriter::Put(std::size_t offset, uint64_t value, std::size_t width) {
    if (bytes_.size() < offset + width) {
        bytes_.resize(offset + width);
    }
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = 8 * (bigEndian_ ? width - 1 - i : i);
        bytes_[offset + i] = static_cast<uint8_t>(value >> shift);
    }
}

std::vector<uint8_t> WriteElfImage(const ElfImageSpec& spec, ElfImageLayout* layout) {
    std::vector<uint8_t> bytes;
    ElfFieldWriter out(bytes, spec.is64, spec.bigEndian);
    const std::size_t word = out.Word();
    const std::size_t headerSize = 40 + 3 * word;
    const std::size_t programHeaderSize = spec.is64 ? 56 : 32;
    const std::size_t sectionHeaderSize = 16 + 6 * word;
    const std::size_t dynamicEntrySize = 2 * word;

    ElfImageLayout at;
    at.programHeaderOffsetField = 24 + word;
    at.sectionHeaderOffsetField = 24 + 2 * word;
    const std::size_t programHeaders = headerSize;

    // .dynstr: a leading zero, then each name with its terminator.
    at.strings = programHeaders + 2 * programHeaderSize;
    std::string strings(1, '\0');
    std::vector<std::size_t> neededNames;
    for (const std::string& name : spec.needed) {
        neededNames.push_back(strings.size());
        strings += name + '\0';
    }
    std::size_t sonameName = 0;
    if (spec.soname) {
        sonameName = strings.size();
        strings += *spec.soname + '\0';
    }
    at.stringsSize = strings.size();
    bytes.assign(strings.begin(), strings.end());
    bytes.insert(bytes.begin(), at.strings, 0);

    at.dynamic = AlignUp(bytes.size(), word);
    std::size_t entry = at.dynamic;
    const auto dynamicEntry = [&](uint64_t tag, uint64_t value) {
        out.PutWord(entry, tag);
        out.PutWord(entry + word, value);
        entry += dynamicEntrySize;
    };
    for (const std::size_t name : neededNames) {
        dynamicEntry(DT_NEEDED, name);
    }
    if (spec.soname) {
        dynamicEntry(DT_SONAME, sonameName);
    }
    dynamicEntry(DT_STRTAB, at.strings);
    dynamicEntry(DT_STRSZ, strings.size());
    dynamicEntry(DT_NULL, 0);
    const std::size_t dynamicSize = entry - at.dynamic;

    const std::string sectionNames = std::string("\0.dynstr\0.dynamic\0.shstrtab\0", 28);
    const std::size_t sectionNamesAt = bytes.size();
    bytes.insert(bytes.end(), sectionNames.begin(), sectionNames.end());

    const std::size_t sectionHeaders = AlignUp(bytes.size(), word);
    struct Section {
        uint32_t name, type;
        std::size_t offset, size;
        uint32_t link;
        std::size_t entrySize;
    };
    const Section sections[] = {
        {0, SHT_NULL, 0, 0, 0, 0},
        {1, SHT_STRTAB, at.strings, strings.size(), 0, 0},
        {9, SHT_DYNAMIC, at.dynamic, dynamicSize, 1, dynamicEntrySize},
        {18, SHT_STRTAB, sectionNamesAt, sectionNames.size(), 0, 0},
    };
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        const std::size_t header = sectionHeaders + i * sectionHeaderSize;
        const Section& section = sections[i];
        out.Put(header, section.name, 4);
        out.Put(header + 4, section.type, 4);
        out.PutWord(header + 8 + word, section.offset); // address = offset
        out.PutWord(out.SectionOffsetField(header), section.offset);
        out.PutWord(out.SectionSizeField(header), section.size);
        out.Put(out.SectionLinkField(header), section.link, 4);
        out.PutWord(header + 16 + 4 * word, section.type == SHT_NULL ? 0 : 1);
        out.PutWord(header + 16 + 5 * word, section.entrySize);
    }
    at.stringsHeader = sectionHeaders + sectionHeaderSize;
    at.dynamicHeader = sectionHeaders + 2 * sectionHeaderSize;
    const std::size_t fileSize = bytes.size();

    // One segment loads the whole file at address 0; the dynamic segment is the section.
    const auto programHeader = [&](std::size_t header, uint32_t type, std::size_t offset,
                                   std::size_t size) {
        out.Put(header, type, 4);
        if (spec.is64) {
            out.Put(header + 4, PF_R, 4);
            for (std::size_t field : {8, 16, 24}) {
                out.Put(header + field, offset, 8);
            }
            out.Put(header + 32, size, 8);
            out.Put(header + 40, size, 8);
            out.Put(header + 48, 8, 8);
        } else {
            for (std::size_t field : {4, 8, 12}) {
                out.Put(header + field, offset, 4);
            }
            out.Put(header + 16, size, 4);
            out.Put(header + 20, size, 4);
            out.Put(header + 24, PF_R, 4);
            out.Put(header + 28, 4, 4);
        }
    };
    programHeader(programHeaders, PT_LOAD, 0, fileSize);
    programHeader(programHeaders + programHeaderSize, PT_DYNAMIC, at.dynamic, dynamicSize);

    const uint8_t ident[] = {ELFMAG0,
                             ELFMAG1,
                             ELFMAG2,
                             ELFMAG3,
                             uint8_t(spec.is64 ? ELFCLASS64 : ELFCLASS32),
                             uint8_t(spec.bigEndian ? ELFDATA2MSB : ELFDATA2LSB),
                             EV_CURRENT};
    std::copy(std::begin(ident), std::end(ident), bytes.begin());
    const uint16_t machine = spec.is64 ? (spec.bigEndian ? EM_SPARCV9 : EM_X86_64)
                                       : (spec.bigEndian ? EM_SPARC : EM_386);
    out.Put(16, ET_DYN, 2);
    out.Put(18, machine, 2);
    out.Put(20, EV_CURRENT, 4);
    out.PutWord(at.programHeaderOffsetField, programHeaders);
    out.PutWord(at.sectionHeaderOffsetField, sectionHeaders);
    out.Put(28 + 3 * word, headerSize, 2);
    out.Put(30 + 3 * word, programHeaderSize, 2);
    out.Put(32 + 3 * word, 2, 2);
    out.Put(34 + 3 * word, sectionHeaderSize, 2);
    out.Put(36 + 3 * word, std::size(sections), 2);
    out.Put(38 + 3 * word, 3, 2);
    if (layout != nullptr) {
        *layout = at;
    }
    return bytes;
}

} // namespace mirelon::testing
