#include "tests/scan/pe_image_writer.h"

#include <cstdio>

namespace mirelon::testing {

namespace {

constexpr uint32_t kNtHeaders = 0x80;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kSizeOfHeaders = 0x400;
constexpr uint32_t kImportDescriptorSize = 20;
constexpr uint32_t kDelayDescriptorSize = 32;

uint32_t AlignUp(size_t value, uint32_t alignment) {
    return static_cast<uint32_t>((value + alignment - 1) / alignment * alignment);
}

void PadTo4(std::vector<uint8_t>& bytes) {
    bytes.resize(AlignUp(bytes.size(), 4));
}

void AppendU16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

struct Block {
    std::string key;
    std::vector<uint8_t> value;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    std::vector<Block> children;
};

std::vector<uint8_t> Serialize(const Block& block) {
    std::vector<uint8_t> out(6);
    for (char c : block.key)
        AppendU16(out, static_cast<uint8_t>(c));
    AppendU16(out, 0);
    PadTo4(out);
    out.insert(out.end(), block.value.begin(), block.value.end());
    for (const Block& child : block.children) {
        PadTo4(out);
        const std::vector<uint8_t> bytes = Serialize(child);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    PutU16(out, 0, static_cast<uint16_t>(out.size()));
    PutU16(out, 2, block.valueLength);
    PutU16(out, 4, block.type);
    return out;
}

Block TextBlock(const std::string& key, const std::u16string& text) {
    Block block{key, {}, static_cast<uint16_t>(text.size() + 1), 1, {}};
    for (char16_t unit : text)
        AppendU16(block.value, unit);
    AppendU16(block.value, 0);
    return block;
}

std::string TableKey(const VersionResourceSpec& spec) {
    if (!spec.tableKey.empty() || !spec.translation)
        return spec.tableKey.empty() ? "040904B0" : spec.tableKey;
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", spec.translation->first, spec.translation->second);
    return key;
}

struct Section {
    const char* name;
    std::vector<uint8_t> bytes;
    uint32_t rva = 0;
    uint32_t fileOffset = 0;
};

// Descriptors first, then the names they point at.
std::vector<uint8_t> ImportSection(const PeImageSpec& spec, uint32_t rva, uint32_t& delayStart) {
    const size_t importBytes = (spec.imports.size() + 1) * kImportDescriptorSize;
    delayStart = AlignUp(importBytes, 4);
    const size_t delayBytes = (spec.delayImports.size() + 1) * kDelayDescriptorSize;
    std::vector<uint8_t> bytes(delayStart + delayBytes);
    auto appendName = [&](const std::string& name) {
        const auto at = static_cast<uint32_t>(bytes.size());
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
        return rva + at;
    };
    for (size_t i = 0; i < spec.imports.size(); ++i)
        PutU32(bytes, i * kImportDescriptorSize + 12, appendName(spec.imports[i]));
    for (size_t i = 0; i < spec.delayImports.size(); ++i) {
        const size_t at = delayStart + i * kDelayDescriptorSize;
        const uint32_t nameRva = appendName(spec.delayImports[i]);
        PutU32(bytes, at, spec.oldStyleDelay ? 0 : 1);
        PutU32(bytes, at + 4,
               spec.oldStyleDelay ? static_cast<uint32_t>(spec.imageBase + nameRva) : nameRva);
    }
    return bytes;
}

// Root (type 16) -> name 1 -> language 0x409 -> data entry -> VS_VERSIONINFO.
std::vector<uint8_t> ResourceSection(const VersionResourceSpec& spec, uint32_t rva,
                                     uint32_t& blockStart, uint32_t& blockSize) {
    constexpr uint32_t kDirectory = 16, kEntry = 8;
    std::vector<uint8_t> bytes(3 * (kDirectory + kEntry) + 16);
    const uint32_t ids[3] = {16, 1, 0x409};
    for (uint32_t level = 0; level < 3; ++level) {
        const uint32_t at = level * (kDirectory + kEntry);
        PutU16(bytes, at + 14, 1); // one ID entry
        PutU32(bytes, at + kDirectory, ids[level]);
        const uint32_t next = at + kDirectory + kEntry;
        PutU32(bytes, at + kDirectory + 4, level < 2 ? (next | 0x80000000u) : next);
    }
    const std::vector<uint8_t> block = WriteVersionBlock(spec);
    blockStart = static_cast<uint32_t>(bytes.size());
    blockSize = static_cast<uint32_t>(block.size());
    const uint32_t dataEntry = 3 * (kDirectory + kEntry);
    PutU32(bytes, dataEntry, rva + blockStart);
    PutU32(bytes, dataEntry + 4, blockSize);
    PutU32(bytes, dataEntry + 8, 1200);
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

} // namespace

void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    bytes.at(offset) = static_cast<uint8_t>(value);
    bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    PutU16(bytes, offset, static_cast<uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

std::vector<uint8_t> WriteVersionBlock(const VersionResourceSpec& spec) {
    Block root{"VS_VERSION_INFO", std::vector<uint8_t>(52), 52, 0, {}};
    PutU32(root.value, 0, 0xFEEF04BD);
    PutU32(root.value, 4, 0x00010000);
    Block table{TableKey(spec), {}, 0, 1, {}};
    for (const auto& [key, text] : spec.strings)
        table.children.push_back(TextBlock(key, text));
    root.children.push_back(Block{"StringFileInfo", {}, 0, 1, {table}});
    if (spec.translation) {
        Block translation{"Translation", std::vector<uint8_t>(4), 4, 0, {}};
        PutU16(translation.value, 0, spec.translation->first);
        PutU16(translation.value, 2, spec.translation->second);
        root.children.push_back(Block{"VarFileInfo", {}, 0, 1, {translation}});
    }
    return Serialize(root);
}

std::vector<uint8_t> WritePeImage(const PeImageSpec& spec, PeImageLayout* layout) {
    const bool hasImports = !spec.imports.empty() || !spec.delayImports.empty();
    std::vector<Section> sections;
    uint32_t nextRva = kSectionAlignment;
    uint32_t nextOffset = kSizeOfHeaders;
    PeImageLayout where;
    uint32_t delayStart = 0, blockStart = 0;
    auto place = [&](Section section) {
        section.rva = nextRva;
        section.fileOffset = nextOffset;
        nextRva += AlignUp(section.bytes.size(), kSectionAlignment);
        nextOffset += AlignUp(section.bytes.size(), kFileAlignment);
        sections.push_back(std::move(section));
        return sections.back().rva;
    };
    if (hasImports) {
        Section idata{".idata", ImportSection(spec, nextRva, delayStart)};
        place(std::move(idata));
    }
    if (spec.version) {
        Section rsrc{".rsrc",
                     ResourceSection(*spec.version, nextRva, blockStart, where.versionSize)};
        place(std::move(rsrc));
    }

    std::vector<uint8_t> image(nextOffset);
    image[0] = 'M';
    image[1] = 'Z';
    PutU32(image, 0x3C, kNtHeaders);
    const uint32_t optionalSize = spec.is64 ? 240 : 224;
    image[kNtHeaders] = 'P';
    image[kNtHeaders + 1] = 'E';
    const uint32_t file = kNtHeaders + 4;
    PutU16(image, file, spec.is64 ? 0x8664 : 0x14C);
    PutU16(image, file + 2, static_cast<uint16_t>(sections.size()));
    PutU16(image, file + 16, static_cast<uint16_t>(optionalSize));
    PutU16(image, file + 18, 0x0102);
    const uint32_t optional = file + 20;
    PutU16(image, optional, spec.is64 ? 0x20B : 0x10B);
    if (spec.is64) {
        PutU32(image, optional + 24, static_cast<uint32_t>(spec.imageBase));
        PutU32(image, optional + 28, static_cast<uint32_t>(spec.imageBase >> 32));
    } else {
        PutU32(image, optional + 28, static_cast<uint32_t>(spec.imageBase));
    }
    PutU32(image, optional + 32, kSectionAlignment);
    PutU32(image, optional + 36, kFileAlignment);
    PutU32(image, optional + 56, nextRva);
    PutU32(image, optional + 60, kSizeOfHeaders);
    PutU16(image, optional + 68, 2);
    const uint32_t directories = optional + (spec.is64 ? 112 : 96);
    PutU32(image, directories - 4, 16);
    auto setDirectory = [&](int index, uint32_t rva, uint32_t size) {
        PutU32(image, directories + index * 8, rva);
        PutU32(image, directories + index * 8 + 4, size);
    };

    const uint32_t sectionTable = optional + optionalSize;
    for (size_t i = 0; i < sections.size(); ++i) {
        const Section& section = sections[i];
        const size_t header = sectionTable + i * 40;
        for (size_t c = 0; section.name[c] != 0; ++c)
            image[header + c] = static_cast<uint8_t>(section.name[c]);
        PutU32(image, header + 8, static_cast<uint32_t>(section.bytes.size()));
        PutU32(image, header + 12, section.rva);
        PutU32(image, header + 16, AlignUp(section.bytes.size(), kFileAlignment));
        PutU32(image, header + 20, section.fileOffset);
        PutU32(image, header + 36, 0x40000040);
        std::copy(section.bytes.begin(), section.bytes.end(), image.begin() + section.fileOffset);
        if (std::string(section.name) == ".idata") {
            where.importTable = section.fileOffset;
            where.delayTable = section.fileOffset + delayStart;
            if (!spec.imports.empty())
                setDirectory(1, section.rva, delayStart);
            if (!spec.delayImports.empty())
                setDirectory(13, section.rva + delayStart,
                             static_cast<uint32_t>(section.bytes.size()) - delayStart);
        } else {
            where.resourceRoot = section.fileOffset;
            where.versionBlock = section.fileOffset + blockStart;
            setDirectory(2, section.rva, static_cast<uint32_t>(section.bytes.size()));
        }
    }
    where.ntHeaders = kNtHeaders;
    where.sectionTable = sectionTable;
    if (layout != nullptr)
        *layout = where;
    return image;
}

} // namespace mirelon::testing
