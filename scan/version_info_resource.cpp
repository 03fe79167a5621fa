#include "scan/version_info_resource.h"

#include "base/byte_order.h"
#include "scan/pe_image.h"

#include <algorithm>
#include <array>

namespace mirelon {

namespace {

constexpr uint32_t kVersionType = 16;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr size_t kDirectoryHeaderSize = 16;
constexpr size_t kEntrySize = 8;
constexpr size_t kDataEntrySize = 16;
// Beyond these a resource table is taken as damaged.
constexpr size_t kMaxEntries = 4096;
// The root node's length is a 16-bit count, so no version resource is longer.
constexpr uint32_t kMaxVersionSize = 0xFFFF;

struct Entry {
    uint32_t name = 0;
    uint32_t target = 0;
};

struct Directory {
    size_t namedCount = 0;
    size_t idCount = 0;
};

bool ReadDirectory(const TPeImage& image, uint64_t rva, Directory& directory) {
    std::array<uint8_t, kDirectoryHeaderSize> header{};
    if (!image.Read(rva, header.data(), header.size()))
        return false;
    directory.namedCount = Load16LE(header.data() + 12);
    directory.idCount = Load16LE(header.data() + 14);
    return directory.namedCount + directory.idCount <= kMaxEntries;
}

bool ReadEntry(const TPeImage& image, uint64_t directoryRva, size_t index, Entry& entry) {
    std::array<uint8_t, kEntrySize> bytes{};
    if (!image.Read(directoryRva + kDirectoryHeaderSize + index * kEntrySize, bytes.data(),
                    bytes.size()))
        return false;
    entry = {Load32LE(bytes.data()), Load32LE(bytes.data() + 4)};
    return true;
}

// Entry targets count from the start of the resource section, not the image.
uint64_t TargetRva(uint32_t root, const Entry& entry) {
    return uint64_t{root} + (entry.target & ~kSubdirectoryFlag);
}

bool FindVersionType(const TPeImage& image, uint32_t root, Entry& found) {
    Directory directory;
    if (!ReadDirectory(image, root, directory))
        return false;
    // Named entries come first; the numbered types follow them.
    for (size_t i = directory.namedCount; i < directory.namedCount + directory.idCount; ++i) {
        Entry entry;
        if (!ReadEntry(image, root, i, entry))
            return false;
        if (entry.name == kVersionType) {
            found = entry;
            return true;
        }
    }
    return false;
}

bool FirstEntry(const TPeImage& image, uint64_t directoryRva, Entry& entry) {
    Directory directory;
    return ReadDirectory(image, directoryRva, directory) &&
           directory.namedCount + directory.idCount > 0 && ReadEntry(image, directoryRva, 0, entry);
}

} // namespace

bool ReadVersionResource(const TPeImage& image, std::vector<uint8_t>& data) {
    const uint32_t root = image.Directory(TPeImage::kResourceDirectory).rva;
    if (root == 0)
        return false;
    // Exactly three levels are walked, so tables that point back at themselves cannot loop.
    Entry type, name, language;
    if (!FindVersionType(image, root, type) || !(type.target & kSubdirectoryFlag) ||
        !FirstEntry(image, TargetRva(root, type), name) || !(name.target & kSubdirectoryFlag) ||
        !FirstEntry(image, TargetRva(root, name), language) ||
        (language.target & kSubdirectoryFlag))
        return false;

    std::array<uint8_t, kDataEntrySize> dataEntry{};
    if (!image.Read(TargetRva(root, language), dataEntry.data(), dataEntry.size()))
        return false;
    const uint32_t dataRva = Load32LE(dataEntry.data());
    const uint32_t dataSize = std::min(Load32LE(dataEntry.data() + 4), kMaxVersionSize);
    uint64_t fileOffset = 0;
    const uint64_t size = std::min<uint64_t>(dataSize, image.Extent(dataRva, fileOffset));
    if (size == 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!image.Read(dataRva, bytes.data(), bytes.size()))
        return false;
    data = std::move(bytes);
    return true;
}

} // namespace mirelon
