#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace mirelon {

// Random access to the bytes of a program image, whatever holds them.
class TPeByteSource {
public:
    virtual ~TPeByteSource() = default;
    virtual uint64_t Size() const = 0;
    // True only when all of [offset, offset + count) lies in the source and was read.
    virtual bool Read(uint64_t offset, void* buffer, size_t count) const = 0;
};

class TPeMemorySource final : public TPeByteSource {
public:
    explicit TPeMemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint64_t Size() const override { return bytes_.size(); }

    bool Read(uint64_t offset, void* buffer, size_t count) const override {
        if (offset > bytes_.size() || count > bytes_.size() - offset)
            return false;
        if (count != 0)
            std::memcpy(buffer, bytes_.data() + offset, count);
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
};

} // namespace mirelon
