#pragma once

#include "scan/storage_rotation.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mirelon {

// The most files a scan works on at once, whatever is asked for.
inline constexpr int kMaxScanJobs = 64;

// How many files a scan works on at once. `requested` (the command line's --jobs) wins, kept
// within 1 to kMaxScanJobs. Otherwise one per usable processor, but 1 when any root lies on a
// spinning disk, where parallel reads make its head seek between files and the scan slower;
// a drive that does not say counts as not spinning.
int ScanJobsFor(
    std::optional<int> requested, const std::vector<std::string>& roots,
    const std::function<TStorageRotation(const std::string&)>& rotationOf = StorageRotationOf);

} // namespace mirelon
