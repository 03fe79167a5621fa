#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace mirelon {

class TPeByteSource;

inline constexpr const char* kVersionValueNotAvailable = "Value Not Available";

// The ten version strings, always in this order.
inline constexpr std::array<const char*, 10> kVersionKeys = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"};

// Without a version resource (or with a damaged one) `available` is false and every string is
// "Value Not Available". With one, the strings come from the string table named by the first
// translation entry; a key it lacks, or a missing translation, gives empty text. UTF-8.
struct VersionStrings {
    bool available = false;
    std::array<std::string, 10> strings;
};

VersionStrings ReadVersionInfo(const std::string& path);
VersionStrings ParseVersionInfo(std::span<const uint8_t> image);
VersionStrings ReadVersionInfo(const TPeByteSource& source);
// The bytes of a version resource alone (its VS_VERSIONINFO tree), without the image around it.
VersionStrings ParseVersionResource(std::span<const uint8_t> resource);

// Holds the strings of the last file it was pointed at. Not for use from two threads at once.
class TVersionInfo {
public:
    TVersionInfo();

    // Reads the file's version resource unless `path` is the current path, text for text.
    void SetFilePath(const std::string& path);
    const std::string& FilePath() const { return filePath_; }
    bool Available() const { return strings_.available; }
    // Index 0 to 9 in the order of kVersionKeys; throws std::out_of_range for any other.
    const std::string& String(int index) const;

private:
    std::string filePath_;
    VersionStrings strings_;
};

} // namespace mirelon
