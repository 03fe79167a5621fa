#pragma once

#include "scan/exclusion_provider.h"
#include "scan/scan_options.h"
#include "scan/scan_progress.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mirelon {

class TCustomScanFiles;
class TScanFiles;
class TcxDriveInfo;
class TSQLiteDatabase;

// A file the scan passed over, with the reason, so a scan never hides what it left out.
struct SkippedFile {
    std::string path;
    std::string reason;
};

// The scan job: walks every fixed drive (or the given roots) and inserts one catalog row per
// file. The window thread starts and ends a scan (flags, transaction); the job itself runs on
// the helper thread. Free of any window system so the command line drives the same code.
class TScanRun {
public:
    TScanRun(TScanFiles& scanner, const TcxDriveInfo& drives, const IScanOptions& options,
             IExclusionProvider& exclusions, IScanProgress& progress);
    ~TScanRun();
    TScanRun(const TScanRun&) = delete;
    TScanRun& operator=(const TScanRun&) = delete;

    // The connection the next job writes to; the caller keeps it open for the whole job.
    void SetCatalog(TSQLiteDatabase* catalog) { catalog_ = catalog; }
    // Files that must not be catalogued (the catalog itself and its journal).
    void SetIgnoredFiles(std::vector<std::string> paths) { ignoredFiles_ = std::move(paths); }
    // Walk these folders instead of the fixed drives (command line, tests).
    void SetRoots(std::vector<std::string> roots) { roots_ = std::move(roots); }
    const std::vector<std::string>& Roots() const { return roots_; }

    // Window-thread side of the scan-running and scan-abort flags.
    void BeginScan();
    void RequestAbort();
    void EndScan();
    bool ScanRunning() const { return scanRunning_.load(); }
    bool AbortRequested() const { return scanAbort_.load(); }

    // The job, for the task name "Scan Harddisk".
    void ScanHarddisk();

    // The scanner's event handlers.
    void vclScanFilesBeforeScanDir(TCustomScanFiles& sender, const std::string& fileName,
                                   bool& vAbort);
    void vclScanFilesFoundFile(TCustomScanFiles& sender, const std::string& fileName, bool& vAbort);

    // After the job, by whoever ends its transaction: the rows inserted since the last batch
    // commit were committed, or were lost with the transaction (a full disk).
    void RowsCommitted();
    void RowsRolledBack();

    // Rows this scan inserted and did not lose.
    int64_t ScannedCount() const { return scannedCount_; }
    // Rows inserted and then lost with a transaction that could not be committed.
    int64_t LostCount() const { return lostCount_; }
    int64_t SkippedCount() const { return skippedCount_; }
    // The first skipped files with their reasons (at most kSkippedKept).
    const std::vector<SkippedFile>& Skipped() const { return skipped_; }
    // Files catalogued without a checksum because their content could not be read.
    int64_t UnhashedCount() const { return unhashedCount_; }
    const std::vector<SkippedFile>& Unhashed() const { return unhashed_; }
    uint64_t BytesHashed() const { return bytesHashed_; }

    // "12 files skipped", "Scan aborted, 3 files skipped", ... ; empty when nothing to say.
    std::string SummaryText() const;
    // One line per skipped file kept, "path: reason".
    std::string SkippedHint() const;

    static constexpr size_t kSkippedKept = 20;

private:
    void Skip(const std::string& path, std::string reason);
    bool IsIgnored(const std::string& path) const;
    void WalkRoot(const std::string& root);

    TScanFiles& scanner_;
    const TcxDriveInfo& drives_;
    const IScanOptions& options_;
    IExclusionProvider& exclusions_;
    IScanProgress& progress_;

    TSQLiteDatabase* catalog_ = nullptr;
    std::vector<std::string> ignoredFiles_;
    std::vector<std::string> roots_;

    std::atomic<bool> scanRunning_{false};
    std::atomic<bool> scanAbort_{false};
    bool aborted_ = false;

    int64_t scannedCount_ = 0;
    int64_t committedCount_ = 0;
    int64_t lostCount_ = 0;
    int64_t skippedCount_ = 0;
    int64_t unhashedCount_ = 0;
    uint64_t bytesHashed_ = 0;
    std::vector<SkippedFile> skipped_;
    std::vector<SkippedFile> unhashed_;
};

} // namespace mirelon
