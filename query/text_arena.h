#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace mirelon {

// Bump allocator for many small immutable texts: blocks never move, so pointers into them stay
// valid until Clear, and a million rows cost a few hundred allocations instead of millions.
class TTextArena {
public:
    explicit TTextArena(std::size_t blockSize = 1 << 20) : blockSize_(blockSize) {}

    // Returns room for `bytes` bytes, aligned for std::uint32_t.
    char* Allocate(std::size_t bytes);
    void Clear();
    std::size_t ReservedBytes() const { return reserved_; }

private:
    std::size_t blockSize_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t reserved_ = 0;
};

} // namespace mirelon
