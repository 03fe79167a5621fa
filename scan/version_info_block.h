#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mirelon {

// One node of a VS_VERSIONINFO tree: wLength, wValueLength, wType, a zero-terminated UTF-16 key,
// the value and the children, each part starting on a 32-bit boundary. Offsets are into the
// buffer that holds the whole tree and always lie within the node.
struct TVersionBlock {
    size_t offset = 0;
    size_t end = 0;
    size_t keyOffset = 0;
    size_t keyUnits = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    size_t valueOffset = 0;
    size_t valueBytes = 0;
    size_t childrenOffset = 0;
};

// The node at `offset`, which must lie whole before `limit`.
bool ReadVersionBlock(std::span<const uint8_t> data, size_t offset, size_t limit,
                      TVersionBlock& block);

// The first child whose key equals `key`, ASCII letter case ignored.
bool FindVersionChild(std::span<const uint8_t> data, const TVersionBlock& parent,
                      std::string_view key, TVersionBlock& child);

// A text value up to its terminator (or the end of the node), as UTF-8.
std::string VersionBlockText(std::span<const uint8_t> data, const TVersionBlock& block);

} // namespace mirelon
