#include "scan/version_info_block.h"

#include "base/ascii_case.h"
#include "base/byte_order.h"
#include "scan/version_info_utf16.h"

#include <algorithm>

namespace mirelon {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr uint16_t kTextType = 1;

size_t AlignUp4(size_t value) {
    return (value + 3) & ~size_t{3};
}

uint16_t UnitAt(std::span<const uint8_t> data, size_t offset) {
    return Load16LE(data.data() + offset);
}

bool KeyEquals(std::span<const uint8_t> data, const TVersionBlock& block, std::string_view key) {
    if (block.keyUnits != key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const char16_t unit = UnitAt(data, block.keyOffset + 2 * i);
        if (unit >= 0x80 || ToLowerAscii(static_cast<char>(unit)) != ToLowerAscii(key[i]))
            return false;
    }
    return true;
}

} // namespace

bool ReadVersionBlock(std::span<const uint8_t> data, size_t offset, size_t limit,
                      TVersionBlock& block) {
    limit = std::min(limit, data.size());
    if (offset > limit || limit - offset < kHeaderSize)
        return false;
    const size_t length = UnitAt(data, offset);
    if (length < kHeaderSize || length > limit - offset)
        return false;
    TVersionBlock read;
    read.offset = offset;
    read.end = offset + length;
    read.valueLength = UnitAt(data, offset + 2);
    read.type = UnitAt(data, offset + 4);
    read.keyOffset = offset + kHeaderSize;
    size_t at = read.keyOffset;
    while (at + 2 <= read.end && UnitAt(data, at) != 0)
        at += 2;
    if (at + 2 > read.end)
        return false; // key without terminator
    read.keyUnits = (at - read.keyOffset) / 2;
    read.valueOffset = std::min(AlignUp4(at + 2), read.end);
    // Text lengths count UTF-16 units, binary lengths bytes; neither may leave the node.
    const size_t declared =
        read.type == kTextType ? size_t{read.valueLength} * 2 : read.valueLength;
    read.valueBytes = std::min(declared, read.end - read.valueOffset);
    read.childrenOffset = std::min(AlignUp4(read.valueOffset + read.valueBytes), read.end);
    block = read;
    return true;
}

bool FindVersionChild(std::span<const uint8_t> data, const TVersionBlock& parent,
                      std::string_view key, TVersionBlock& child) {
    // Every child takes at least eight bytes, so the walk ends within the parent.
    size_t at = parent.childrenOffset;
    while (at < parent.end && parent.end - at >= kHeaderSize) {
        TVersionBlock candidate;
        if (!ReadVersionBlock(data, at, parent.end, candidate))
            return false;
        if (KeyEquals(data, candidate, key)) {
            child = candidate;
            return true;
        }
        at = AlignUp4(candidate.end);
    }
    return false;
}

std::string VersionBlockText(std::span<const uint8_t> data, const TVersionBlock& block) {
    if (block.valueLength == 0)
        return {};
    size_t at = block.valueOffset;
    while (at + 2 <= block.end && UnitAt(data, at) != 0)
        at += 2;
    return Utf8FromUtf16Le(data.subspan(block.valueOffset, at - block.valueOffset));
}

} // namespace mirelon
