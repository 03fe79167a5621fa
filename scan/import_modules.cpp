#include "scan/import_modules.h"

#include "base/ascii_case.h"
#include "base/byte_order.h"
#include "scan/pe_image.h"
#include "scan/pe_image_file.h"

#include <array>

namespace mirelon {

namespace {

// Beyond these an image is taken as malformed rather than walked further.
constexpr size_t kMaxDescriptors = 4096;
constexpr size_t kMaxNameLength = 256;

struct DescriptorLayout {
    size_t size;
    size_t nameField;
    bool delayLoad;
};
constexpr DescriptorLayout kImportDescriptor{20, 12, false};
constexpr DescriptorLayout kDelayDescriptor{32, 4, true};

// Old-style delay descriptors hold absolute addresses instead of relative ones.
uint64_t DelayNameRva(const TPeImage& image, uint32_t field) {
    if (field > image.SizeOfImage() && field > image.ImageBase())
        return field - image.ImageBase();
    return field;
}

// Walks one descriptor table up to its zero-name terminator. False when any part of it cannot
// be read: a chain without end, a name outside the image, a name without terminator.
bool WalkDescriptors(const TPeImage& image, uint32_t tableRva, const DescriptorLayout& layout,
                     std::vector<std::string>& names) {
    std::array<uint8_t, 32> descriptor{};
    for (size_t i = 0; i < kMaxDescriptors; ++i) {
        if (!image.Read(uint64_t{tableRva} + i * layout.size, descriptor.data(), layout.size))
            return false;
        const uint32_t field = Load32LE(descriptor.data() + layout.nameField);
        if (field == 0)
            return true;
        const uint64_t nameRva = layout.delayLoad ? DelayNameRva(image, field) : field;
        std::string name;
        if (!image.ReadName(nameRva, kMaxNameLength, name))
            return false;
        name = ToLowerAscii(name);
        names.push_back(std::move(name));
    }
    return false;
}

std::vector<std::string> Collect(const TPeByteSource& source) {
    TPeImage image;
    if (!image.Load(source))
        return {};
    std::vector<std::string> names;
    const struct {
        int directory;
        const DescriptorLayout& layout;
    } tables[] = {{TPeImage::kImportDirectory, kImportDescriptor},
                  {TPeImage::kDelayImportDirectory, kDelayDescriptor}};
    for (const auto& table : tables) {
        const uint32_t rva = image.Directory(table.directory).rva;
        if (rva != 0 && !WalkDescriptors(image, rva, table.layout, names))
            return {};
    }
    return names;
}

} // namespace

std::vector<std::string> ReadImportModules(const TPeByteSource& source) {
    try {
        return Collect(source);
    } catch (...) {
        return {}; // out of memory is the only thing left to fail; the list is then empty
    }
}

std::vector<std::string> ParseImportModules(std::span<const uint8_t> image) {
    return ReadImportModules(TPeMemorySource(image));
}

std::vector<std::string> ReadImportModules(const std::string& path) {
    try {
        const TPeFileSource source(path);
        if (!source.IsOpen())
            return {};
        return ReadImportModules(source);
    } catch (...) {
        return {};
    }
}

} // namespace mirelon
