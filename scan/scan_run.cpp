#include "scan/scan_run.h"

#include "base/ascii_case.h"
#include "base/utf8_path.h"
#include "catalog/catalog_row_inserter.h"
#include "catalog/catalog_statements.h"
#include "catalog/file_stamps.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "hash/hash_batch.h"
#include "hash/hash_service.h"
#include "scan/drive_info.h"
#include "scan/file_times.h"
#include "scan/path_separator.h"
#include "scan/read_ahead_pool.h"
#include "scan/scan_files.h"
#include "scan/scan_jobs.h"
#include "scan/scan_pipeline.h"
#include "scan/scanned_file.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>
#include <list>
#include <string_view>
#include <utility>

namespace mirelon {

namespace {

// The swap and hibernation files change while they are read; their checksum means nothing.
bool IsSystemPagingFile(std::string_view fileName) {
    static constexpr std::array<std::string_view, 3> kNames = {"pagefile.sys", "swapfile.sys",
                                                               "hiberfil.sys"};
    return std::any_of(kNames.begin(), kNames.end(), [&](std::string_view name) {
        return EqualIgnoringAsciiCase(fileName, name);
    });
}

// The path column ignores letter case; this file system does not.
constexpr const char* kLetterCaseTwin = "a catalogued path differs from it only in letter case";
constexpr const char* kVanished = "vanished before it could be read";
// Its checksum would describe neither the old content nor the new.
constexpr const char* kChangedWhileRead = "changed while it was read, twice";
// Catalogued all the same, but the stored path leads to no file once this run has ended.
constexpr const char* kNameNotUnicode =
    "catalogued with U+FFFD in its path: its name is no valid Unicode";

// Where the walk of a root puts its files: the root with one trailing separator.
std::string RootPrefix(const std::string& root) {
    return !root.empty() && IsPathSeparator(root.back()) ? root : root + PathSeparator();
}

constexpr const char* kDateClamped =
    "a date outside 1601-01-01 to 9999-12-31 is stored as the nearer of the two";

void Keep(std::vector<SkippedFile>& list, const std::string& path, std::string reason) {
    if (list.size() < TScanRun::kSkippedKept) {
        list.push_back({path, std::move(reason)});
    }
}

// Files waiting for a worker: also how far the read-ahead hints run before the reading. Deep
// enough that the walk, which shares the processors with the workers and the writer, keeps
// the lanes fed while it is not running.
constexpr size_t kQueuedFiles = 512;
// The bytes those files hold: after a stop every file handed over is still read, which should
// take moments, not minutes.
constexpr uint64_t kQueuedBytes = uint64_t{128} << 20;
// Files being read or waiting for an earlier one to be written, and the bytes of their rows.
// A file in a lane holds up the writer while the other lanes go through many small ones.
constexpr size_t kBufferedFiles = 2048;
constexpr size_t kBufferedBytes = 16u << 20;
// Folders kept open for the files handed on, beside those the walk holds itself.
constexpr size_t kOpenFolders = 16;
// Threads giving read-ahead hints: several reads in flight for a cold solid-state disk.
constexpr int kReadAheadThreads = 8;
// The start of each file read ahead: enough for a small file whole, and for the kernel's own
// read-ahead to take over a large one without reading far beyond the files in the queue.
constexpr uint64_t kReadAheadBytes = 1u << 20;

int64_t NanosecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                start)
        .count();
}

} // namespace

TScanRun::TScanRun(TScanFiles& scanner, const TcxDriveInfo& drives, const IScanOptions& options,
                   IExclusionProvider& exclusions, IScanProgress& progress)
    : scanner_(scanner), drives_(drives), options_(options), exclusions_(exclusions),
      progress_(progress) {
    scanner_.SetSubFolder(true);
    scanner_.SetExtensions("*;");
    scanner_.SetUseThread(false);
    scanner_.SetOnBeforeScanDir(
        [this](TCustomScanFiles& sender, const std::string& name, bool& vAbort) {
            vclScanFilesBeforeScanDir(sender, name, vAbort);
        });
    scanner_.SetOnFoundFile([this](TCustomScanFiles& sender, const std::string& name,
                                   bool& vAbort) { vclScanFilesFoundFile(sender, name, vAbort); });
    scanner_.SetOnFolderLeftOut([this](TCustomScanFiles& sender, const std::string& folder) {
        vclScanFilesFolderLeftOut(sender, folder);
    });
    scanner_.SetOnScanDirFailed(
        [this](TCustomScanFiles& sender, const std::string& name, const std::string& reason) {
            vclScanFilesScanDirFailed(sender, name, reason);
        });
}

TScanRun::~TScanRun() {
    scanner_.SetOnBeforeScanDir(nullptr);
    scanner_.SetOnFoundFile(nullptr);
    scanner_.SetOnFolderLeftOut(nullptr);
    scanner_.SetOnScanDirFailed(nullptr);
}

void TScanRun::BeginScan() {
    scanAbort_ = false;
    scanRunning_ = true;
    aborted_ = false;
    mode_ = options_.FreshScanIndex();
    hashMethod_ = kHashMethodFirst + options_.HashMethodIndex();
    counts_ = {};
    scannedCount_ = 0;
    committedCount_ = 0;
    lostCount_ = 0;
    skippedCount_ = 0;
    skippedFolderCount_ = 0;
    unhashedCount_ = 0;
    clampedCount_ = 0;
    bytesHashed_ = 0;
    skipped_.clear();
    unhashed_.clear();
    clamped_.clear();
    walkNs_ = factsNs_ = hashNs_ = imagesNs_ = catalogNs_ = 0;
}

void TScanRun::RequestAbort() {
    scanRunning_ = false;
    scanAbort_ = true;
    aborted_ = true;
}

void TScanRun::EndScan() {
    scanRunning_ = false;
    scanAbort_ = false;
}

void TScanRun::ScanHarddisk() {
    scanner_.ExcludedFolders() = exclusions_.ExcludedFolderList();
    // Dropped however the job ends: the prepared statements must go before the catalog.
    struct JobState {
        TScanRun& run;
        ~JobState() {
            run.stampWriter_ = nullptr;
            run.inserter_.reset();
            run.index_.Clear();
            run.walkedRoots_.clear();
            run.currentRoot_ = nullptr;
        }
    } jobState{*this};
    TFileStampWriter stampWriter(*catalog_);
    stampWriter_ = &stampWriter;
    if (mode_ == kFreshScanUpdate || mode_ == kFreshScanContinue) {
        const auto start = std::chrono::steady_clock::now();
        index_.Load(*catalog_);
        catalogNs_ += NanosecondsSince(start);
    }
    jobs_ = ScanJobsFor(requestedJobs_, RootsToWalk());
    const auto start = std::chrono::steady_clock::now();
    if (jobs_ > 1) {
        WalkRootsInParallel();
    } else {
        WalkRoots();
    }
    walkNs_ += NanosecondsSince(start);
    // Only a walk that went to its end tells which files are gone.
    if (mode_ == kFreshScanUpdate && !scanAbort_) {
        const auto removing = std::chrono::steady_clock::now();
        RemoveRowsGone();
        catalogNs_ += NanosecondsSince(removing);
    }
}

struct TScanRun::FileResult {
    ScannedFile scanned;
    TCatalogIndex::Entry* catalogued = nullptr;
};

void TScanRun::WalkRootsInParallel() {
    TFilePipeline::Handlers handlers;
    handlers.work = [this](FileJob& job) { return ReadFile(job); };
    handlers.failed = [](const FileJob& job, std::exception_ptr failure) {
        FileResult result{{}, job.catalogued};
        result.scanned.outcome = ScannedFile::Outcome::Failed;
        result.scanned.row.fullPath = job.file.path;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            result.scanned.failure = e.what();
        } catch (...) {
            result.scanned.failure = "an unknown error";
        }
        return result;
    };
    handlers.write = [this](FileResult& result) { WriteFile(result); };
    handlers.resultBytes = [](const FileResult& result) { return result.scanned.HeldBytes(); };
    handlers.groupable = [this](const FileJob& job) {
        return job.found && HashBatchSuits(hashMethod_, job.facts.size);
    };
    handlers.weight = [](const FileJob& job) { return job.found ? job.facts.size : 0; };
    handlers.workGroup = [this](FileJob& first, TFilePipeline::JobFeed& feed) {
        ReadFiles(first, feed);
    };
    TReadAheadPool readAhead(kReadAheadThreads, kQueuedFiles, kReadAheadBytes);
    handlers.readAhead = [&readAhead](const FileJob& job) { readAhead.Hint(job.file.path); };

    OrderedPipelineLimits limits;
    limits.workers = jobs_;
    limits.maxQueuedFiles = kQueuedFiles;
    limits.maxQueuedWeight = kQueuedBytes;
    limits.maxOpenFolders = kOpenFolders;
    limits.maxBufferedFiles = kBufferedFiles;
    limits.maxBufferedBytes = kBufferedBytes;
    TFilePipeline pipeline(limits, std::move(handlers));
    pipeline_ = &pipeline;
    struct Unset {
        TFilePipeline*& pipeline;
        ~Unset() { pipeline = nullptr; }
    } unset{pipeline_};
    // A walk that throws drops the files not yet started; those started are written first.
    WalkRoots();
    // Every file handed over is read and written, also after an abort, which stops the walk
    // only at its next folder.
    const auto finishing = std::chrono::steady_clock::now();
    pipeline.Finish();
    walkNs_ -= NanosecondsSince(finishing);
}

std::vector<std::string> TScanRun::RootsToWalk() const {
    if (!roots_.empty()) {
        return roots_;
    }
    std::vector<std::string> roots;
    for (int index = 0; index < 26; ++index) {
        auto drive = drives_.Drive(index);
        if (drive->Exists()->Value() && drive->DriveType()->Text() == "Fixed") {
            roots.push_back(drive->RootPath());
        }
    }
    return roots;
}

void TScanRun::WalkRoots() {
    for (const std::string& root : RootsToWalk()) {
        if (scanAbort_) {
            break;
        }
        WalkRoot(root);
    }
}

void TScanRun::WalkRoot(const std::string& root) {
    WalkedRoot walked{RootPrefix(root), 0, {}};
    // A root that is no folder is not walked at all: none of its rows can be judged.
    const bool walkable = ReadFolderDevice(root, walked.device);
    currentRoot_ = &walked;
    scanner_.SetPath(root);
    scanner_.Execute();
    currentRoot_ = nullptr;
    if (walkable && !scanAbort_) {
        walkedRoots_.push_back(std::move(walked));
    }
}

void TScanRun::vclScanFilesFolderLeftOut(TCustomScanFiles&, const std::string& folderPath) {
    if (currentRoot_ != nullptr) {
        currentRoot_->leftOut.insert(folderPath);
    }
}

void TScanRun::vclScanFilesScanDirFailed(TCustomScanFiles&, const std::string& folderName,
                                         const std::string& reason) {
    const std::lock_guard lock(reportMutex_);
    ++skippedFolderCount_;
    Keep(skipped_, folderName, reason);
}

void TScanRun::RemoveRowsGone() {
    TFileRowDeleter deleter(*catalog_);
    for (const int64_t id : index_.RowsGone(walkedRoots_)) {
        deleter.Delete(id);
        ++counts_.removed;
    }
}

void TScanRun::vclScanFilesBeforeScanDir(TCustomScanFiles&, const std::string& fileName,
                                         bool& vAbort) {
    vAbort = !scanRunning_;
    const std::lock_guard lock(reportMutex_);
    progress_.ScanningFolder(fileName);
}

void TScanRun::vclScanFilesFoundFile(TCustomScanFiles& sender, const std::string& fileName,
                                     bool& vAbort) {
    const std::string name = FileNameOf(fileName);
    if (name.empty() || IsSystemPagingFile(name) || IsIgnored(fileName)) {
        return;
    }
    // Read through the folder the walk holds open, so that a path longer than the system takes
    // still leads to the file; the location keeps that folder open while a worker has it.
    FileLocation file = sender.FoundFileLocation(fileName);
    TCatalogIndex::Entry* catalogued = nullptr;
    if (mode_ == kFreshScanContinue) {
        if (index_.Find(fileName) != nullptr) {
            return;
        }
        if (index_.HoldsLetterCaseTwin(fileName)) {
            Skip(fileName, kLetterCaseTwin);
            return;
        }
    } else if (mode_ == kFreshScanUpdate) {
        catalogued = index_.Find(fileName);
        if (catalogued == nullptr && index_.HoldsLetterCaseTwin(fileName)) {
            Skip(fileName, kLetterCaseTwin);
            return;
        }
    }
    // The directory entry is read here, before the file is handed on, so that small files can
    // go to a worker together.
    FileJob job{std::move(file), catalogued, {}, false, 0};
    const auto reading = std::chrono::steady_clock::now();
    job.found = ReadFileFacts(job.file, job.facts);
    job.factsNs = NanosecondsSince(reading);
    if (catalogued != nullptr) {
        if (!job.found) {
            return; // gone meanwhile: not seen, so its row goes with the others
        }
        catalogued->seen = true;
        if (TCatalogIndex::Unchanged(*catalogued, job.facts.stamp)) {
            const std::lock_guard lock(reportMutex_);
            ++counts_.unchanged;
            progress_.ScannedCount(FilesDone());
            return;
        }
    }
    // Counted with the file's reading, not the walk.
    walkNs_ -= job.factsNs;
    HandOver(std::move(job), vAbort);
}

void TScanRun::HandOver(FileJob job, bool& vAbort) {
    // The walk's own time leaves out the hand-over: waiting for room, or reading and writing.
    const auto start = std::chrono::steady_clock::now();
    if (pipeline_ != nullptr) {
        std::shared_ptr<const void> folder = job.file.folderHold;
        // Refused once the writer failed: the walk stops, and the failure ends the job.
        if (!pipeline_->Submit(std::move(job), std::move(folder))) {
            vAbort = true;
        }
    } else {
        FileResult result = ReadFile(job);
        WriteFile(result);
    }
    walkNs_ -= NanosecondsSince(start);
}

TScanRun::FileResult TScanRun::ReadFile(FileJob& job) const {
    FileResult result{{}, job.catalogued};
    if (job.found) {
        result.scanned = ReadScannedFile(job.file, hashMethod_, &job.facts);
    } else {
        result.scanned.outcome = ScannedFile::Outcome::Vanished;
        result.scanned.row.fullPath = job.file.path;
    }
    result.scanned.factsNs += job.factsNs;
    return result;
}

void TScanRun::ReadFiles(FileJob& first, TScanJobFeed<FileJob, FileResult>& feed) const {
    class Files final : public TFilesToRead {
    public:
        Files(FileJob& first, TScanJobFeed<FileJob, FileResult>& feed)
            : feed_(feed), first_(&first) {}

        const FileToRead* Next() override {
            FileJob* job = first_ != nullptr ? std::exchange(first_, nullptr) : feed_.More();
            if (job == nullptr) {
                return nullptr;
            }
            reading_.push_back({{&job->file, &job->facts}, job});
            return &reading_.back().file;
        }

        void Done(const FileToRead& file, ScannedFile scanned) override {
            const auto found =
                std::find_if(reading_.begin(), reading_.end(),
                             [&](const Reading& entry) { return &entry.file == &file; });
            if (found == reading_.end()) {
                return;
            }
            FileJob& job = *found->job;
            reading_.erase(found);
            scanned.factsNs += job.factsNs;
            feed_.Done(job, {std::move(scanned), job.catalogued});
        }

    private:
        struct Reading {
            FileToRead file;
            FileJob* job;
        };
        TScanJobFeed<FileJob, FileResult>& feed_;
        FileJob* first_;
        std::list<Reading> reading_; // in place while a lane reads the file
    } files(first, feed);
    ReadScannedFiles(files, hashMethod_);
}

void TScanRun::WriteFile(FileResult& result) {
    const auto start = std::chrono::steady_clock::now();
    const ScannedFile& scanned = result.scanned;
    factsNs_ += scanned.factsNs;
    hashNs_ += scanned.hashNs;
    imagesNs_ += scanned.imageNs;
    const std::string& fileName = scanned.row.fullPath;
    switch (scanned.outcome) {
    case ScannedFile::Outcome::Vanished:
        if (result.catalogued != nullptr) {
            result.catalogued->seen = false;
        }
        Skip(fileName, kVanished);
        break;
    case ScannedFile::Outcome::ChangedWhileRead:
        Skip(fileName, kChangedWhileRead);
        break;
    case ScannedFile::Outcome::Failed:
        Skip(fileName, scanned.failure);
        break;
    case ScannedFile::Outcome::Read:
        if (scanned.hashCode != kHashOk) {
            const std::lock_guard lock(reportMutex_);
            ++unhashedCount_;
            Keep(unhashed_, fileName, HashFileFailureText(scanned.hashCode));
        } else {
            const std::lock_guard lock(reportMutex_);
            bytesHashed_ += scanned.row.fileSize;
        }
        if (const int64_t id = WriteRow(scanned.row, result.catalogued); id != 0) {
            stampWriter_->Write(id, scanned.stamp);
            if (HasReplacedName(fileName)) {
                Skip(fileName, kNameNotUnicode);
            }
            FileWritten(scanned, result.catalogued != nullptr);
        }
        break;
    }
    catalogNs_ += NanosecondsSince(start);
}

int64_t TScanRun::WriteRow(const CatalogRow& row, const TCatalogIndex::Entry* catalogued) {
    if (catalogued != nullptr) {
        catalog_->RunStatement(BuildUpdateStatement(catalogued->id, row));
        return catalogued->id;
    }
    try {
        if (!inserter_) {
            inserter_ = std::make_unique<TCatalogRowInserter>(*catalog_);
        }
        inserter_->Insert(row);
    } catch (const ESQLiteException& e) {
        // Any other failure (a full disk, a table without the column) would fail every file
        // after this one as well: it ends the scan.
        if (!IsUniqueConstraintFailure(e)) {
            throw;
        }
        Skip(row.fullPath, kLetterCaseTwin);
        return 0;
    }
    return catalog_->LastInsertRowId();
}

void TScanRun::FileWritten(const ScannedFile& scanned, bool changed) {
    {
        const std::lock_guard lock(reportMutex_);
        ++(changed ? counts_.changed : counts_.added);
        if (scanned.datesClamped) {
            ++clampedCount_;
            Keep(clamped_, scanned.row.fullPath, kDateClamped);
        }
        ++scannedCount_;
        progress_.ScannedCount(mode_ == kFreshScanUpdate ? FilesDone() : scannedCount_);
    }
    if (IsCommitBoundary(scannedCount_)) {
        catalog_->CommitTransaction();
        committedCount_ = scannedCount_;
        catalog_->StartTransaction();
    }
}

void TScanRun::RowsCommitted() {
    committedCount_ = scannedCount_;
}

void TScanRun::RowsRolledBack() {
    lostCount_ += scannedCount_ - committedCount_;
    scannedCount_ = committedCount_;
    // Rows are removed only in the last transaction.
    counts_.removed = 0;
}

bool TScanRun::IsIgnored(const std::string& path) const {
    return std::find(ignoredFiles_.begin(), ignoredFiles_.end(), path) != ignoredFiles_.end();
}

void TScanRun::Skip(const std::string& path, std::string reason) {
    const std::lock_guard lock(reportMutex_);
    ++skippedCount_;
    Keep(skipped_, path, std::move(reason));
}

ScanTimes TScanRun::Times() const {
    const auto seconds = [](int64_t ns) { return static_cast<double>(ns) / 1e9; };
    return {seconds(walkNs_), seconds(factsNs_), seconds(hashNs_), seconds(imagesNs_),
            seconds(catalogNs_)};
}

std::string TScanRun::SummaryText() const {
    std::string text = aborted_ ? "Scan aborted" : "";
    const auto add = [&text](int64_t count, const char* one, const char* many) {
        if (count > 0) {
            text += (text.empty() ? "" : ", ") + std::to_string(count) + (count == 1 ? one : many);
        }
    };
    add(skippedCount_, " file skipped", " files skipped");
    add(skippedFolderCount_, " folder skipped", " folders skipped");
    add(unhashedCount_, " file without checksum", " files without checksum");
    add(clampedCount_, " file with a date out of range", " files with a date out of range");
    add(lostCount_, " catalogued file not kept", " catalogued files not kept");
    return text;
}

std::string TScanRun::CountsText() const {
    if (mode_ != kFreshScanUpdate) {
        return {};
    }
    return std::to_string(counts_.unchanged) + " unchanged, " + std::to_string(counts_.changed) +
           " changed, " + std::to_string(counts_.added) + " new, " +
           std::to_string(counts_.removed) + " removed";
}

std::string TScanRun::SkippedHint() const {
    std::string hint;
    for (const auto* list : {&skipped_, &unhashed_, &clamped_}) {
        for (const SkippedFile& file : *list) {
            if (!hint.empty()) {
                hint += '\n';
            }
            hint += file.path + ": " + file.reason;
        }
    }
    return hint;
}

} // namespace mirelon
