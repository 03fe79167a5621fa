#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace mirelon {

// Feeds bytes to a block transform. Whole blocks go straight from the caller's bytes; only a
// leading or trailing partial block is copied into the state's buffer. `buffered` is the number
// of bytes already waiting in the buffer, and `transform(blocks, blockCount)` must accept any
// number of consecutive blocks.
template <size_t BlockSize, typename Transform>
void FeedBlocks(uint8_t (&buffer)[BlockSize], size_t buffered, const uint8_t* bytes, size_t count,
                Transform&& transform) {
    if (buffered > 0) {
        const size_t room = BlockSize - buffered;
        if (count < room) {
            std::memcpy(buffer + buffered, bytes, count);
            return;
        }
        std::memcpy(buffer + buffered, bytes, room);
        transform(static_cast<const uint8_t*>(buffer), size_t{1});
        bytes += room;
        count -= room;
    }
    const size_t blockCount = count / BlockSize;
    if (blockCount > 0) {
        transform(bytes, blockCount);
        bytes += blockCount * BlockSize;
        count -= blockCount * BlockSize;
    }
    if (count > 0) {
        std::memcpy(buffer, bytes, count);
    }
}

} // namespace mirelon
