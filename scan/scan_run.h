#pragma once

#include "base/file_location.h"
#include "scan/catalog_index.h"
#include "scan/exclusion_provider.h"
#include "scan/file_times.h"
#include "scan/scan_options.h"
#include "scan/scan_progress.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mirelon {

class TCatalogRowInserter;
class TCustomScanFiles;
class TFileRowDeleter;
class TFileStampWriter;
class TScanFiles;
class TcxDriveInfo;
class TSQLiteDatabase;
struct CatalogRow;
struct ScannedFile;
template <class Job, class Result> class TScanPipeline;
template <class Job, class Result> class TScanJobFeed;

// A file or folder the scan passed over, with the reason, so a scan never hides what it left
// out; a folder's path ends with a separator.
struct SkippedFile {
    std::string path;
    std::string reason;
};

// What a scan did with the files it found. A fresh or continued scan only adds.
struct ScanCounts {
    int64_t unchanged = 0; // catalogued and stamped alike: not read
    int64_t changed = 0;   // catalogued, hashed again and its row rewritten
    int64_t added = 0;     // not catalogued before
    int64_t removed = 0;   // rows of files the walk could have found and did not
};

// Where a scan's time went, in seconds: the walk's own (listing folders, deciding what to read),
// and, summed over the threads that did it, reading directory entries and restoring access
// times, checksums, program images, and the catalog's work (inserts, stamps, commits, loading
// what an update compares with).
struct ScanTimes {
    double walk = 0;
    double facts = 0;
    double hash = 0;
    double images = 0;
    double catalog = 0;
};

// The scan job: walks every fixed drive (or the given roots) and writes one catalog row and its
// stamp per file. The window thread starts and ends a scan (flags, transaction); the job itself
// runs on the helper thread. Free of any window system so the command line drives the same code.
//
// With more than one job, files are read on worker threads while the walk goes on, and one
// writer thread owns the catalog connection; rows reach the catalog in the walk's order all the
// same. What decides whether a file is read at all (a continued scan's "already catalogued?", an
// update's stamps) is taken on the walk's thread from what the job loaded at its start. Progress
// calls come from the walk's and the writer's threads, never two at once.
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
    // How many files are read at once: the command line's --jobs; by default (nullopt) one per
    // usable processor, or one when a root lies on a spinning disk (ScanJobsFor).
    void SetJobs(std::optional<int> jobs) { requestedJobs_ = jobs; }
    // The jobs the last scan used.
    int Jobs() const { return jobs_; }

    // Window-thread side of the scan-running and scan-abort flags. BeginScan also takes the scan
    // mode and the hash method from the options: a scan keeps both to its end.
    void BeginScan();
    void RequestAbort();
    void EndScan();
    bool ScanRunning() const { return scanRunning_.load(); }
    bool AbortRequested() const { return scanAbort_.load(); }
    // kFreshScanYes, kFreshScanContinue or kFreshScanUpdate, as BeginScan found it.
    int Mode() const { return mode_; }
    int32_t HashMethod() const { return hashMethod_; }

    // The job, for the task name "Scan Harddisk".
    void ScanHarddisk();

    // The scanner's event handlers.
    void vclScanFilesBeforeScanDir(TCustomScanFiles& sender, const std::string& fileName,
                                   bool& vAbort);
    void vclScanFilesFoundFile(TCustomScanFiles& sender, const std::string& fileName, bool& vAbort);
    void vclScanFilesFolderLeftOut(TCustomScanFiles& sender, const std::string& folderPath);
    void vclScanFilesScanDirFailed(TCustomScanFiles& sender, const std::string& folderName,
                                   const std::string& reason);

    // After the job, by whoever ends its transaction: the rows inserted since the last batch
    // commit were committed, or were lost with the transaction (a full disk).
    void RowsCommitted();
    void RowsRolledBack();

    // Rows this scan inserted or rewrote and did not lose.
    int64_t ScannedCount() const { return scannedCount_; }
    const ScanCounts& Counts() const { return counts_; }
    // The files dealt with so far, written or not.
    int64_t FilesDone() const { return counts_.unchanged + counts_.changed + counts_.added; }
    // Rows inserted and then lost with a transaction that could not be committed.
    int64_t LostCount() const { return lostCount_; }
    int64_t SkippedCount() const { return skippedCount_; }
    // Folders that could not be listed or entered; their files are not in the catalog.
    int64_t SkippedFolderCount() const { return skippedFolderCount_; }
    // The first skipped files and folders with their reasons (at most kSkippedKept).
    const std::vector<SkippedFile>& Skipped() const { return skipped_; }
    // Files catalogued without a checksum because their content could not be read.
    int64_t UnhashedCount() const { return unhashedCount_; }
    const std::vector<SkippedFile>& Unhashed() const { return unhashed_; }
    // Files catalogued with a date clamped into what the catalog holds (1601 to 9999).
    int64_t ClampedCount() const { return clampedCount_; }
    const std::vector<SkippedFile>& Clamped() const { return clamped_; }
    uint64_t BytesHashed() const { return bytesHashed_; }
    // Of the last job, once it has ended.
    ScanTimes Times() const;

    // "12 files skipped", "Scan aborted, 3 files skipped", ... ; empty when nothing to say.
    std::string SummaryText() const;
    // An update's "9 unchanged, 1 changed, 2 new, 3 removed"; empty for the other modes.
    std::string CountsText() const;
    // One line per skipped file or folder, file without checksum and file with a clamped date
    // kept, "path: reason".
    std::string SkippedHint() const;

    static constexpr size_t kSkippedKept = 20;

private:
    void Skip(const std::string& path, std::string reason);
    bool IsIgnored(const std::string& path) const;
    void WalkRoots();
    void WalkRoot(const std::string& root);
    // A file to read: a new row, or `catalogued` rewritten in place.
    struct FileJob {
        FileLocation file;
        TCatalogIndex::Entry* catalogued = nullptr;
        // Its directory entry as the walk read it; not `found` when it was gone already.
        FileFacts facts;
        bool found = false;
        int64_t factsNs = 0;
    };
    struct FileResult;
    using TFilePipeline = TScanPipeline<FileJob, FileResult>;

    // Reads the roots' files on `jobs_` threads and writes them on one; a failure of the
    // writer ends the walk and is raised here.
    void WalkRootsInParallel();
    // The walk's hand-over: into the pipeline, or read and written at once with one job.
    void HandOver(FileJob job, bool& vAbort);
    FileResult ReadFile(FileJob& job) const;
    // Files that suit hashing side by side, on one worker: `first`, and more from `feed`.
    void ReadFiles(FileJob& first, TScanJobFeed<FileJob, FileResult>& feed) const;
    // On the writer's thread.
    void WriteFile(FileResult& result);
    // The row's fldID; 0 when the path turned out to be a letter-case twin.
    int64_t WriteRow(const CatalogRow& row, const TCatalogIndex::Entry* catalogued);
    void FileWritten(const ScannedFile& scanned, bool changed);
    void RemoveRowsGone();
    std::vector<std::string> RootsToWalk() const;

    TScanFiles& scanner_;
    const TcxDriveInfo& drives_;
    const IScanOptions& options_;
    IExclusionProvider& exclusions_;
    IScanProgress& progress_;

    TSQLiteDatabase* catalog_ = nullptr;
    std::vector<std::string> ignoredFiles_;
    std::vector<std::string> roots_;
    std::optional<int> requestedJobs_;
    int jobs_ = 1;

    std::atomic<bool> scanRunning_{false};
    std::atomic<bool> scanAbort_{false};
    std::atomic<bool> aborted_{false};
    int mode_ = 0;
    int32_t hashMethod_ = 0;

    // During an update's job: the catalogued files, and the roots walked to their end.
    TCatalogIndex index_;
    std::vector<WalkedRoot> walkedRoots_;
    WalkedRoot* currentRoot_ = nullptr;
    // During the job.
    TFileStampWriter* stampWriter_ = nullptr;
    // Prepared at the first new row: a catalog that cannot take one fails there, as a row would.
    std::unique_ptr<TCatalogRowInserter> inserter_;
    TFilePipeline* pipeline_ = nullptr;

    // Guards the counts and lists below while the walk's and the writer's threads both change
    // them, and makes progress calls one at a time (they may read the counts).
    mutable std::mutex reportMutex_;

    ScanCounts counts_;
    int64_t scannedCount_ = 0;
    int64_t committedCount_ = 0;
    int64_t lostCount_ = 0;
    int64_t skippedCount_ = 0;
    int64_t skippedFolderCount_ = 0;
    int64_t unhashedCount_ = 0;
    int64_t clampedCount_ = 0;
    uint64_t bytesHashed_ = 0;
    std::vector<SkippedFile> skipped_;
    std::vector<SkippedFile> unhashed_;
    std::vector<SkippedFile> clamped_;

    // Nanoseconds, as ScanTimes; the walk's on the walk's thread, the rest on the writer's.
    int64_t walkNs_ = 0;
    int64_t factsNs_ = 0;
    int64_t hashNs_ = 0;
    int64_t imagesNs_ = 0;
    int64_t catalogNs_ = 0;
};

} // namespace mirelon
