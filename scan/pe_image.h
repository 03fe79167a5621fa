#pragma once

#include "scan/pe_image_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mirelon {

struct TPeDataDirectory {
    uint32_t rva = 0;
    uint32_t size = 0;
};

// The headers of a PE32 or PE32+ image and bounds-checked reads at relative virtual addresses.
// Reads go through the section table to file offsets; every read is checked against both the
// section's data in the file and the file itself, so malformed images read as failures.
class TPeImage {
public:
    static constexpr int kImportDirectory = 1;
    static constexpr int kResourceDirectory = 2;
    static constexpr int kDelayImportDirectory = 13;
    // Far beyond any linker's output; more reads as malformed.
    static constexpr size_t kMaxSections = 1024;

    // The source must outlive the image. False for anything but a well-formed header set.
    bool Load(const TPeByteSource& source);

    bool Is64() const { return is64_; }
    uint64_t ImageBase() const { return imageBase_; }
    uint32_t SizeOfImage() const { return sizeOfImage_; }
    // Zero when the image does not have the entry.
    TPeDataDirectory Directory(int index) const;

    // How many bytes from `rva` on lie in the same region (one section's file data, or the
    // headers); 0 when `rva` maps to no file byte. `fileOffset` receives where `rva` lies.
    uint64_t Extent(uint32_t rva, uint64_t& fileOffset) const;

    bool Read(uint64_t rva, void* buffer, size_t count) const;
    bool ReadU16(uint64_t rva, uint16_t& value) const;
    bool ReadU32(uint64_t rva, uint32_t& value) const;
    // A zero-terminated byte string of at most `maxLength` bytes before its terminator.
    bool ReadName(uint64_t rva, size_t maxLength, std::string& name) const;

private:
    struct Section {
        uint32_t virtualAddress = 0;
        uint32_t virtualSize = 0;
        uint32_t rawOffset = 0;
        uint32_t rawSize = 0;
    };

    const TPeByteSource* source_ = nullptr;
    bool is64_ = false;
    uint64_t imageBase_ = 0;
    uint32_t sizeOfImage_ = 0;
    uint32_t sizeOfHeaders_ = 0;
    std::vector<TPeDataDirectory> directories_;
    std::vector<Section> sections_;
};

} // namespace mirelon
