#include "query/text_arena.h"

namespace mirelon {

namespace {
constexpr std::size_t kAlignment = alignof(std::uint32_t);
}

char* TTextArena::Allocate(std::size_t bytes) {
    bytes = (bytes + kAlignment - 1) / kAlignment * kAlignment;
    if (bytes > left_) {
        // An oversized request gets a block of its own so the current block's tail is not lost.
        const std::size_t size = bytes > blockSize_ / 4 ? bytes : blockSize_;
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        reserved_ += size;
        if (size == bytes) {
            return blocks_.back().get();
        }
        next_ = blocks_.back().get();
        left_ = size;
    }
    char* result = next_;
    next_ += bytes;
    left_ -= bytes;
    return result;
}

void TTextArena::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    next_ = nullptr;
    left_ = 0;
    reserved_ = 0;
}

} // namespace mirelon
