#pragma once

#include "query/result_row.h"

#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// What the duplicate-files options ask of a duplicate search ("Show only files which have").
struct DuplicateFilters {
    // A group is made of files that share the checksum and the file name, letter case ignored.
    bool sameName = false;
    // Lower case, each with its leading dot; empty means every extension.
    std::vector<std::string> extensions;
    // Files inside these folders are left out.
    std::vector<std::string> excludedFolders;

    bool Any() const { return sameName || !extensions.empty() || !excludedFolders.empty(); }
};

// The "These extensions" text as a list: entries separated by commas, semicolons or blanks,
// each with or without its dot, letter case ignored ("DOC, .zip  exe" gives ".doc", ".zip",
// ".exe"); repeats and empty entries are dropped.
std::vector<std::string> ParseExtensionList(std::string_view text);

// Whether the row passes the extension list and the excluded folders. An entry matches the end
// of the file name, so ".tar.gz" works as well as ".gz".
bool PassesDuplicateFilters(const ResultRow& row, const DuplicateFilters& filters);

// What makes rows one duplicate group: the checksum, and with sameName the file name too.
std::string DuplicateGroupKey(std::string_view checkSum, std::string_view fileName, bool sameName);

// The status text after a duplicate search, so that a short result is never a mystery:
// "Same name; .doc, .zip, .exe, .txt — change them under Options".
std::string DuplicateFiltersText(const DuplicateFilters& filters);

} // namespace mirelon
