#include "scan/version_info.h"

#include "base/byte_order.h"
#include "scan/pe_image.h"
#include "scan/pe_image_file.h"
#include "scan/version_info_block.h"
#include "scan/version_info_resource.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace mirelon {

namespace {

VersionStrings NotAvailable() {
    VersionStrings result;
    result.strings.fill(kVersionValueNotAvailable);
    return result;
}

// "040904B0" from the first entry of VarFileInfo\Translation; empty when there is none.
std::string TranslationKey(std::span<const uint8_t> data, const TVersionBlock& root) {
    TVersionBlock files, translation;
    if (!FindVersionChild(data, root, "VarFileInfo", files) ||
        !FindVersionChild(data, files, "Translation", translation) || translation.valueBytes < 4)
        return {};
    const uint8_t* entry = data.data() + translation.valueOffset;
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", Load16LE(entry), Load16LE(entry + 2));
    return key;
}

} // namespace

VersionStrings ParseVersionResource(std::span<const uint8_t> data) {
    TVersionBlock root;
    if (!ReadVersionBlock(data, 0, data.size(), root))
        return NotAvailable();
    VersionStrings result;
    result.available = true;
    const std::string tableKey = TranslationKey(data, root);
    TVersionBlock files, table;
    if (tableKey.empty() || !FindVersionChild(data, root, "StringFileInfo", files) ||
        !FindVersionChild(data, files, tableKey, table))
        return result;
    for (size_t i = 0; i < kVersionKeys.size(); ++i) {
        TVersionBlock value;
        if (FindVersionChild(data, table, kVersionKeys[i], value))
            result.strings[i] = VersionBlockText(data, value);
    }
    return result;
}

VersionStrings ReadVersionInfo(const TPeByteSource& source) {
    try {
        TPeImage image;
        std::vector<uint8_t> data;
        if (!image.Load(source) || !ReadVersionResource(image, data))
            return NotAvailable();
        return ParseVersionResource(data);
    } catch (const std::bad_alloc&) {
        return NotAvailable();
    }
}

VersionStrings ParseVersionInfo(std::span<const uint8_t> image) {
    return ReadVersionInfo(TPeMemorySource(image));
}

VersionStrings ReadVersionInfo(const std::string& path) {
    const TPeFileSource source(path);
    if (!source.IsOpen())
        return NotAvailable();
    return ReadVersionInfo(source);
}

TVersionInfo::TVersionInfo() : strings_(NotAvailable()) {}

void TVersionInfo::SetFilePath(const std::string& path) {
    if (path == filePath_)
        return;
    strings_ = ReadVersionInfo(path);
    filePath_ = path;
}

const std::string& TVersionInfo::String(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= strings_.strings.size())
        throw std::out_of_range("version string index " + std::to_string(index));
    return strings_.strings[static_cast<size_t>(index)];
}

} // namespace mirelon
