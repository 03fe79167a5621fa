#pragma once

#include "cleanup/file_removal.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirelon {

// How a run of removals went, for the summary both programs show.
struct RemovalTally {
    std::size_t removed = 0; // moved or deleted; in a dry run, that would have been
    uint64_t removedBytes = 0;
    std::size_t failed = 0;
    std::size_t untouchedGroups = 0;

    void Count(const FileRecord& file, const RemovalOutcome& outcome);
};

// "4 files moved to the trash (1.2 MB)", "1 file deleted (0.0 MB)", in a dry run "4 files would
// be moved to the trash (1.2 MB)"; then "; 2 failed" and "; 1 group left untouched" when there
// are any.
std::string RemovalSummaryText(const RemovalTally& tally, const RemovalOptions& options);

} // namespace mirelon
