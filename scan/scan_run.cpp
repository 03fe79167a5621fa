#include "scan/scan_run.h"

#include "base/ascii_case.h"
#include "base/utf8_path.h"
#include "catalog/catalog_statements.h"
#include "catalog/file_stamps.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "catalog/sqlite_table.h"
#include "hash/hash_service.h"
#include "scan/drive_info.h"
#include "scan/elf_dynamic_info.h"
#include "scan/file_times.h"
#include "scan/import_modules.h"
#include "scan/path_separator.h"
#include "scan/pe_image_file.h"
#include "scan/scan_files.h"
#include "scan/version_info.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>
#include <string_view>

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

// A file written this shortly before it was read may be written again within the same tick of
// the file system's clock (two seconds on FAT), leaving its times as they were. Its stamp is
// trusted only once the file is older: the next update hashes it again.
constexpr int64_t kRecentWriteNs = 2'000'000'000;

bool WrittenJustNow(int64_t modifiedNs) {
    const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    return modifiedNs > now - kRecentWriteNs && modifiedNs < now + kRecentWriteNs;
}

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

constexpr int kVersionCompanyName = 0;
constexpr int kVersionFileVersion = 2;
constexpr int kVersionInternalName = 3;

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
    // Dropped however the job ends: the stamp writer's statement must go before the catalog.
    struct JobState {
        TScanRun& run;
        ~JobState() {
            run.stampWriter_ = nullptr;
            run.index_.Clear();
            run.walkedRoots_.clear();
            run.currentRoot_ = nullptr;
        }
    } jobState{*this};
    TFileStampWriter stampWriter(*catalog_);
    stampWriter_ = &stampWriter;
    if (mode_ == kFreshScanUpdate) {
        index_.Load(*catalog_);
    }
    WalkRoots();
    // Only a walk that went to its end tells which files are gone.
    if (mode_ == kFreshScanUpdate && !scanAbort_) {
        RemoveRowsGone();
    }
}

void TScanRun::WalkRoots() {
    if (!roots_.empty()) {
        for (const std::string& root : roots_) {
            if (scanAbort_) {
                break;
            }
            WalkRoot(root);
        }
        return;
    }
    for (int index = 0; index < 26; ++index) {
        if (scanAbort_) {
            break;
        }
        auto drive = drives_.Drive(index);
        if (drive->Exists()->Value() && drive->DriveType()->Text() == "Fixed") {
            WalkRoot(drive->RootPath());
        }
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
    progress_.ScanningFolder(fileName);
}

void TScanRun::vclScanFilesFoundFile(TCustomScanFiles& sender, const std::string& fileName, bool&) {
    const std::string name = FileNameOf(fileName);
    if (name.empty() || IsSystemPagingFile(name) || IsIgnored(fileName)) {
        return;
    }
    // Read through the folder the walk holds open, so that a path longer than the system takes
    // still leads to the file.
    const FileLocation file = sender.FoundFileLocation(fileName);
    TCatalogIndex::Entry* catalogued = nullptr;
    if (mode_ == kFreshScanContinue) {
        // A failing lookup is a catalog fault, not a file fault: it ends the job.
        const auto found = catalog_->OpenResult(BuildPathLookup(fileName));
        if (found->RowCount() > 0) {
            if (found->TextAt(0) != fileName) {
                Skip(fileName, kLetterCaseTwin);
            }
            return;
        }
    } else if (mode_ == kFreshScanUpdate) {
        catalogued = index_.Find(fileName);
        if (catalogued != nullptr) {
            FileStamp now;
            if (!ReadFileStamp(file, now)) {
                return; // gone meanwhile: not seen, so its row goes with the others
            }
            catalogued->seen = true;
            if (TCatalogIndex::Unchanged(*catalogued, now)) {
                ++counts_.unchanged;
                progress_.ScannedCount(FilesDone());
                return;
            }
        } else if (IsLetterCaseTwin(fileName)) {
            Skip(fileName, kLetterCaseTwin);
            return;
        }
    }
    CatalogueFile(file, catalogued);
}

bool TScanRun::IsLetterCaseTwin(const std::string& path) {
    return catalog_->OpenResult(BuildPathLookup(path))->RowCount() > 0;
}

void TScanRun::CatalogueFile(const FileLocation& file, TCatalogIndex::Entry* catalogued) {
    const std::string& fileName = file.path;
    const auto vanished = [&] {
        if (catalogued != nullptr) {
            catalogued->seen = false;
        }
        Skip(fileName, kVanished);
    };
    CatalogRow row;
    row.fullPath = fileName;
    row.fileName = FileNameOf(fileName);

    // The access time is taken before anything opens the file, and put back, as it was kept,
    // after the last read.
    FileFacts facts;
    if (!ReadFileFacts(file, facts)) {
        vanished();
        return;
    }
    const TDateTime accessed = facts.accessed;
    const KeptTime accessedKept = facts.accessedKept;
    bool datesClamped = facts.datesClamped;

    // A file written to while it is read is read again once: its checksum must match its stamp.
    int code = kHashOk;
    for (int attempt = 1;; ++attempt) {
        code = HashFile(hashMethod_, file, row.checkSum);
        FileFacts after;
        if (!ReadFileFacts(file, after)) {
            vanished();
            return;
        }
        if (after.stamp == facts.stamp) {
            break;
        }
        if (attempt == 2) {
            RestoreKeptAccessTime(file, accessedKept);
            Skip(fileName, kChangedWhileRead);
            return;
        }
        facts = after;
        datesClamped = datesClamped || facts.datesClamped;
    }
    row.dateAccessed = accessed;
    row.dateCreated = facts.created;
    row.dateModified = facts.modified;
    row.fileExtension = FileExtensionOf(row.fileName);
    row.fileSize = facts.size;

    if (code != kHashOk) {
        row.checkSum.clear();
        ++unhashedCount_;
        Keep(unhashed_, fileName, HashFileFailureText(code));
    } else {
        bytesHashed_ += facts.size;
    }

    // One open serves the readers of program images; a file that is none costs one read. An ELF
    // file's needed libraries take the place of imports, its own name that of the internal name.
    {
        const TPeFileSource image(file);
        if (image.IsOpen() && HasElfMagic(image)) {
            const ElfDynamicInfo elf = ReadElfDynamicInfo(image);
            row.importModules = NeededLibrariesText(elf.needed);
            row.internalName = elf.soname;
        } else if (image.IsOpen()) {
            try {
                row.importModules = ImportModulesText(ReadImportModules(image));
            } catch (...) {
                row.importModules.clear();
            }
            const VersionStrings version = ReadVersionInfo(image);
            if (version.available) {
                row.companyName = version.strings[kVersionCompanyName];
                row.internalName = version.strings[kVersionInternalName];
                row.fileVersion = version.strings[kVersionFileVersion];
            }
        }
    }

    RestoreKeptAccessTime(file, accessedKept);
    // Putting the access time back moves the status-change time; the stamp must hold the moved
    // one, or the next update would take the file for changed. Size, times and identity stay
    // those the checksum was made from, so a write since then shows at the next update.
    FileStamp stamp = facts.stamp;
    FileStamp restored;
    if (ReadFileStamp(file, restored)) {
        stamp.changedNs = restored.changedNs;
    }
    if (WrittenJustNow(stamp.modifiedNs)) {
        stamp.changedNs = 0;
    }

    const int64_t id = WriteRow(row, catalogued);
    if (id == 0) {
        return;
    }
    stampWriter_->Write(id, stamp);
    if (HasReplacedName(fileName)) {
        Skip(fileName, kNameNotUnicode);
    }
    ++(catalogued != nullptr ? counts_.changed : counts_.added);
    if (datesClamped) {
        ++clampedCount_;
        Keep(clamped_, fileName, kDateClamped);
    }
    FileWritten();
}

int64_t TScanRun::WriteRow(const CatalogRow& row, const TCatalogIndex::Entry* catalogued) {
    if (catalogued != nullptr) {
        catalog_->RunStatement(BuildUpdateStatement(catalogued->id, row));
        return catalogued->id;
    }
    try {
        catalog_->RunStatement(BuildInsertStatement(row));
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

void TScanRun::FileWritten() {
    ++scannedCount_;
    progress_.ScannedCount(mode_ == kFreshScanUpdate ? FilesDone() : scannedCount_);
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
    ++skippedCount_;
    Keep(skipped_, path, std::move(reason));
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
