#pragma once

#include <cstdint>
#include <string>

namespace mirelon {

// Status changes of a running scan. A window implementation carries each call to the window
// thread and returns once it has been shown; the job runs on its own thread meanwhile.
class IScanProgress {
public:
    virtual ~IScanProgress() = default;
    virtual void ScannedCount(int64_t count) = 0;
    // The folder about to be listed, with its trailing separator.
    virtual void ScanningFolder(const std::string& folder) = 0;
};

class TNullScanProgress : public IScanProgress {
public:
    void ScannedCount(int64_t) override {}
    void ScanningFolder(const std::string&) override {}
};

} // namespace mirelon
