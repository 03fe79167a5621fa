#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mirelon::testing {

struct VersionResourceSpec {
    // Key and value; values are UTF-16 so that tests can store any code unit sequence.
    std::vector<std::pair<std::string, std::u16string>> strings;
    // Language and code page of the first translation entry; none leaves out VarFileInfo.
    std::optional<std::pair<uint16_t, uint16_t>> translation = std::make_pair(0x0409, 0x04B0);
    // Key of the string table; empty means the one the translation names.
    std::string tableKey;
};

struct PeImageSpec {
    bool is64 = false;
    uint64_t imageBase = 0x400000;
    std::vector<std::string> imports;
    std::vector<std::string> delayImports;
    // Delay descriptors holding absolute addresses (attributes 0), as older linkers wrote them.
    bool oldStyleDelay = false;
    std::optional<VersionResourceSpec> version;
};

// File offsets of the parts a test may want to damage.
struct PeImageLayout {
    uint32_t ntHeaders = 0;
    uint32_t sectionTable = 0;
    uint32_t importTable = 0;
    uint32_t delayTable = 0;
    uint32_t resourceRoot = 0;
    uint32_t versionBlock = 0;
    uint32_t versionSize = 0;
};

// A small but complete program image: headers, an import section (descriptors and names) and a
// resource section holding a version resource.
std::vector<uint8_t> WritePeImage(const PeImageSpec& spec, PeImageLayout* layout = nullptr);

// The VS_VERSIONINFO block alone.
std::vector<uint8_t> WriteVersionBlock(const VersionResourceSpec& spec);

void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value);
void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);

} // namespace mirelon::testing
