#pragma once

#include "base/file_location.h"
#include "scan/pe_image_source.h"

#include <array>
#include <string>

namespace mirelon {

// A program image read from disk in small pieces, never as a whole: images can be gigabytes,
// and the readers need only their headers and a few tables. Anything but a regular file (a pipe,
// a device) is treated as unreadable so that opening it can neither block nor have side effects.
class TPeFileSource final : public TPeByteSource {
public:
    explicit TPeFileSource(const FileLocation& file);
    ~TPeFileSource() override;
    TPeFileSource(const TPeFileSource&) = delete;
    TPeFileSource& operator=(const TPeFileSource&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    // For readers that work on the open file themselves: the platform's file handle (a file
    // descriptor on Linux); negative when it is not open.
    intptr_t Descriptor() const { return descriptor_; }
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, void* buffer, size_t count) const override;

private:
    static constexpr size_t kPageSize = 4096;
    static constexpr size_t kCachedPages = 4;

    struct CachedPage {
        uint64_t index = UINT64_MAX;
        size_t length = 0;
        std::array<uint8_t, kPageSize> bytes{};
    };

    bool ReadDirect(uint64_t offset, void* buffer, size_t count) const;
    const CachedPage* Page(uint64_t index) const;

    intptr_t descriptor_ = -1; // the platform's file handle; negative while closed
    uint64_t size_ = 0;
    mutable std::array<CachedPage, kCachedPages> cache_{};
};

} // namespace mirelon
