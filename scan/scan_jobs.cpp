#include "scan/scan_jobs.h"

#include "scan/processor_count.h"

#include <algorithm>

namespace mirelon {

int ScanJobsFor(std::optional<int> requested, const std::vector<std::string>& roots,
                const std::function<TStorageRotation(const std::string&)>& rotationOf) {
    if (requested)
        return std::clamp(*requested, 1, kMaxScanJobs);
    const bool spinning = std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
        return rotationOf(root) == TStorageRotation::Rotational;
    });
    return spinning ? 1 : std::min(UsableProcessorCount(), kMaxScanJobs);
}

} // namespace mirelon
