#pragma once

#include <atomic>

namespace mirelon {

// The two scan options, read by the scan job at the moment of use. The window thread writes
// them (the options panel), the job reads them from its own thread, hence the atomics.
class IScanOptions {
public:
    virtual ~IScanOptions() = default;
    // Hash method ID = 257 + index: 0..11 in the options panel, 0..20 from the command line.
    virtual int HashMethodIndex() const = 0;
    // 0: fresh scan (old catalog deleted first); 1: continue, skipping catalogued paths;
    // 2: update, hashing again only what changed and removing what is gone.
    virtual int FreshScanIndex() const = 0;
};

inline constexpr int kDefaultHashMethodIndex = 2; // "MD5"
inline constexpr int kFreshScanYes = 0;
inline constexpr int kFreshScanContinue = 1;
inline constexpr int kFreshScanUpdate = 2;

class TScanOptions : public IScanOptions {
public:
    int HashMethodIndex() const override { return hashMethodIndex_.load(); }
    int FreshScanIndex() const override { return freshScanIndex_.load(); }
    void SetHashMethodIndex(int index) { hashMethodIndex_.store(index); }
    void SetFreshScanIndex(int index) { freshScanIndex_.store(index); }

private:
    std::atomic<int> hashMethodIndex_{kDefaultHashMethodIndex};
    std::atomic<int> freshScanIndex_{kFreshScanYes};
};

} // namespace mirelon
