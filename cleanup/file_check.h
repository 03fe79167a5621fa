#pragma once

#include "catalog/file_stamps.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// A file as its catalog row describes it, for the check before the file is touched.
struct FileRecord {
    std::string path;
    uint64_t size = 0;
    std::string checkSum;
    // The stamp the scan recorded, where the catalog keeps one it trusts.
    std::optional<FileStamp> stamp;
};

// The hash methods the checksum may come from, in the order to try them: `likely` first (the
// method the catalog is thought to use; 0 for none), then every other registered method whose
// checksum text has the same length. With `onlyLikely` (a catalog that records its method)
// `likely` alone.
std::vector<int32_t> CandidateHashMethods(std::string_view checkSum, int32_t likely,
                                          bool onlyLikely = false);

// Empty when the file on disk is still the one its catalog row describes, else why not. It must
// be a regular file of the catalogued size; with a stamp, of the same stamp; without one,
// hashing it again must give the catalogued checksum with one of `methods` (the first is tried
// alone, the others together in one more read).
std::string CheckUnchanged(const FileRecord& file, const std::vector<int32_t>& methods);

} // namespace mirelon
