#pragma once

#include "base/utf8_path.h"
#include "exclusions/item_identity.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

namespace mirelon::test {

// The platform's absolute path for one written the Linux way, so that the same cases run on both
// sides: "/d/a" stays so on Linux and becomes "C:\d\a" on Windows, where an absolute path begins
// with its drive. A path that is absolute already only gets the platform's separators.
inline std::string AbsolutePath(std::string path) {
    std::replace(path.begin(), path.end(), '/',
                 static_cast<char>(std::filesystem::path::preferred_separator));
    if (PathFromUtf8(path).is_absolute()) {
        return path;
    }
    return Utf8FromPath(std::filesystem::temp_directory_path().root_name()) + path;
}

inline std::string Id(const std::string& path) {
    return IdentityOfPath(AbsolutePath(path));
}

// The start of a node record: the identity's length (4 bytes, little-endian), then the identity.
inline std::string IdentityRecord(const std::string& path) {
    const std::string identity = Id(path);
    const auto length = static_cast<uint32_t>(identity.size());
    std::string record;
    for (int shift = 0; shift < 32; shift += 8) {
        record.push_back(static_cast<char>((length >> shift) & 0xff));
    }
    return record + identity;
}

} // namespace mirelon::test
