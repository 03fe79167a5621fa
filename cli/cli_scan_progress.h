#pragma once

#include "scan/scan_progress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace mirelon {

class TScanRun;

// "1234 files  56.7 MB  410 files/s  /current/folder/", cut to `columns` characters; a folder
// too long loses its start, as its end says more. An update's counts ("9 unchanged, ...") come
// after the number of files, in brackets.
std::string ScanProgressLine(int64_t files, uint64_t bytes, double seconds,
                             const std::string& folder, int columns,
                             const std::string& counts = {});

// The scan's status on standard error: one line redrawn in place at most ten times a second
// and erased at the end, or nothing at all when not visible. Also the place where the scan
// notices Ctrl-C: the scan calls in here for every folder and file, on its own thread.
class TCliScanProgress : public IScanProgress {
public:
    TCliScanProgress(std::ostream& err, bool visible, int columns,
                     std::function<bool()> interrupted);

    // The run to report on and to abort on Ctrl-C.
    void Attach(TScanRun& run) { run_ = &run; }

    void ScannedCount(int64_t count) override;
    void ScanningFolder(const std::string& folder) override;

    // Erases the line; call before printing anything else.
    void Clear();

    static constexpr std::chrono::milliseconds kRedrawInterval{100};

private:
    void PollInterrupt();
    void Redraw(bool force);

    std::ostream& err_;
    bool visible_;
    int columns_;
    std::function<bool()> interrupted_;
    TScanRun* run_ = nullptr;
    bool abortSent_ = false;
    bool lineShown_ = false;

    int64_t count_ = 0;
    std::string folder_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastRedraw_;
};

} // namespace mirelon
