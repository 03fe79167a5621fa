#include "scan/pe_image.h"

#include "base/byte_order.h"

#include <algorithm>
#include <array>

namespace mirelon {

namespace {

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kNewHeaderOffsetField = 0x3C;
constexpr size_t kSignatureAndFileHeaderSize = 24;
constexpr size_t kSectionCountField = 6;
constexpr size_t kOptionalHeaderSizeField = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kMaxDirectories = 16;

constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

struct OptionalHeaderLayout {
    size_t imageBase;
    size_t imageBaseSize;
    size_t directoryCount;
    size_t directories;
};
// SizeOfImage (56) and SizeOfHeaders (60) sit at the same place in both forms.
constexpr OptionalHeaderLayout kLayoutPe32{28, 4, 92, 96};
constexpr OptionalHeaderLayout kLayoutPe32Plus{24, 8, 108, 112};
constexpr size_t kSizeOfImageField = 56;
constexpr size_t kSizeOfHeadersField = 60;
constexpr size_t kLargestOptionalHeader = 112 + kMaxDirectories * 8;

} // namespace

bool TPeImage::Load(const TPeByteSource& source) {
    *this = TPeImage();
    std::array<uint8_t, kDosHeaderSize> dos{};
    if (!source.Read(0, dos.data(), dos.size()) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    const uint64_t newHeader = Load32LE(dos.data() + kNewHeaderOffsetField);

    std::array<uint8_t, kSignatureAndFileHeaderSize> file{};
    if (!source.Read(newHeader, file.data(), file.size()) || file[0] != 'P' || file[1] != 'E' ||
        file[2] != 0 || file[3] != 0)
        return false;
    const size_t sectionCount = Load16LE(file.data() + kSectionCountField);
    const size_t optionalSize = Load16LE(file.data() + kOptionalHeaderSizeField);
    if (sectionCount > kMaxSections)
        return false;

    std::array<uint8_t, kLargestOptionalHeader> optional{};
    const size_t optionalRead = std::min(optionalSize, optional.size());
    const uint64_t optionalOffset = newHeader + kSignatureAndFileHeaderSize;
    if (optionalRead < 2 || !source.Read(optionalOffset, optional.data(), optionalRead))
        return false;
    const uint16_t magic = Load16LE(optional.data());
    if (magic != kMagicPe32 && magic != kMagicPe32Plus)
        return false;
    const bool is64 = magic == kMagicPe32Plus;
    const OptionalHeaderLayout& layout = is64 ? kLayoutPe32Plus : kLayoutPe32;
    if (optionalRead < layout.directories)
        return false;

    TPeImage image;
    image.source_ = &source;
    image.is64_ = is64;
    image.imageBase_ = is64 ? Load64LE(optional.data() + layout.imageBase)
                            : Load32LE(optional.data() + layout.imageBase);
    image.sizeOfImage_ = Load32LE(optional.data() + kSizeOfImageField);
    image.sizeOfHeaders_ = Load32LE(optional.data() + kSizeOfHeadersField);
    const size_t directoryCount =
        std::min({static_cast<size_t>(Load32LE(optional.data() + layout.directoryCount)),
                  kMaxDirectories, (optionalRead - layout.directories) / 8});
    for (size_t i = 0; i < directoryCount; ++i) {
        const uint8_t* entry = optional.data() + layout.directories + i * 8;
        image.directories_.push_back({Load32LE(entry), Load32LE(entry + 4)});
    }

    std::vector<uint8_t> table(sectionCount * kSectionHeaderSize);
    if (!source.Read(optionalOffset + optionalSize, table.data(), table.size()))
        return false;
    for (size_t i = 0; i < sectionCount; ++i) {
        const uint8_t* header = table.data() + i * kSectionHeaderSize;
        image.sections_.push_back({Load32LE(header + 12), Load32LE(header + 8),
                                   Load32LE(header + 20), Load32LE(header + 16)});
    }
    *this = std::move(image);
    return true;
}

TPeDataDirectory TPeImage::Directory(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= directories_.size())
        return {};
    return directories_[static_cast<size_t>(index)];
}

uint64_t TPeImage::Extent(uint32_t rva, uint64_t& fileOffset) const {
    for (const Section& section : sections_) {
        if (rva < section.virtualAddress)
            continue;
        const uint64_t within = rva - section.virtualAddress;
        const uint64_t span = std::max(section.virtualSize, section.rawSize);
        if (within >= span)
            continue;
        // Only the part backed by file data can be read; the rest is zero-fill in memory.
        const uint64_t backed = section.virtualSize != 0
                                    ? std::min(section.virtualSize, section.rawSize)
                                    : section.rawSize;
        if (within >= backed)
            return 0;
        fileOffset = section.rawOffset + within;
        return backed - within;
    }
    if (rva < sizeOfHeaders_) {
        fileOffset = rva;
        return sizeOfHeaders_ - rva;
    }
    return 0;
}

bool TPeImage::Read(uint64_t rva, void* buffer, size_t count) const {
    if (source_ == nullptr || rva > UINT32_MAX)
        return false;
    uint64_t fileOffset = 0;
    const uint64_t extent = Extent(static_cast<uint32_t>(rva), fileOffset);
    return count <= extent && source_->Read(fileOffset, buffer, count);
}

bool TPeImage::ReadU16(uint64_t rva, uint16_t& value) const {
    uint8_t bytes[2];
    if (!Read(rva, bytes, sizeof bytes))
        return false;
    value = Load16LE(bytes);
    return true;
}

bool TPeImage::ReadU32(uint64_t rva, uint32_t& value) const {
    uint8_t bytes[4];
    if (!Read(rva, bytes, sizeof bytes))
        return false;
    value = Load32LE(bytes);
    return true;
}

bool TPeImage::ReadName(uint64_t rva, size_t maxLength, std::string& name) const {
    if (source_ == nullptr || rva > UINT32_MAX)
        return false;
    uint64_t fileOffset = 0;
    const uint64_t extent = Extent(static_cast<uint32_t>(rva), fileOffset);
    if (extent == 0 || fileOffset >= source_->Size())
        return false;
    const size_t count = static_cast<size_t>(
        std::min<uint64_t>({maxLength + 1, extent, source_->Size() - fileOffset}));
    std::string bytes(count, '\0');
    if (!source_->Read(fileOffset, bytes.data(), count))
        return false;
    const size_t end = bytes.find('\0');
    if (end == std::string::npos)
        return false;
    bytes.resize(end);
    name = std::move(bytes);
    return true;
}

} // namespace mirelon
