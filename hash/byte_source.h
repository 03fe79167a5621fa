#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// Random-access bytes to be hashed, such as an open file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes at `offset`: the number read, 0 at the end, -1 on an error.
    virtual int64_t ReadAt(uint64_t offset, void* buffer, size_t capacity) = 0;
};

} // namespace mirelon
