#include "scan/scan_run.h"

#include "base/ascii_case.h"
#include "catalog/catalog_statements.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "catalog/sqlite_table.h"
#include "hash/hash_service.h"
#include "scan/drive_info.h"
#include "scan/elf_dynamic_info.h"
#include "scan/file_times.h"
#include "scan/import_modules.h"
#include "scan/pe_image_file.h"
#include "scan/scan_files.h"
#include "scan/version_info.h"

#include <algorithm>
#include <array>
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
}

TScanRun::~TScanRun() {
    scanner_.SetOnBeforeScanDir(nullptr);
    scanner_.SetOnFoundFile(nullptr);
}

void TScanRun::BeginScan() {
    scanAbort_ = false;
    scanRunning_ = true;
    aborted_ = false;
    scannedCount_ = 0;
    committedCount_ = 0;
    lostCount_ = 0;
    skippedCount_ = 0;
    unhashedCount_ = 0;
    bytesHashed_ = 0;
    skipped_.clear();
    unhashed_.clear();
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
    scanner_.SetPath(root);
    scanner_.Execute();
}

void TScanRun::vclScanFilesBeforeScanDir(TCustomScanFiles&, const std::string& fileName,
                                         bool& vAbort) {
    vAbort = !scanRunning_;
    progress_.ScanningFolder(fileName);
}

void TScanRun::vclScanFilesFoundFile(TCustomScanFiles&, const std::string& fileName, bool&) {
    if (options_.FreshScanIndex() == kFreshScanContinue) {
        // A failing lookup is a catalog fault, not a file fault: it ends the job.
        const auto found = catalog_->OpenResult(BuildPathLookup(fileName));
        if (found->RowCount() > 0) {
            if (found->TextAt(0) != fileName) {
                Skip(fileName, kLetterCaseTwin);
            }
            return;
        }
    }

    CatalogRow row;
    row.fullPath = fileName;
    row.fileName = FileNameOf(fileName);
    if (row.fileName.empty() || IsSystemPagingFile(row.fileName) || IsIgnored(fileName)) {
        return;
    }

    // The access time is taken before anything opens the file, and put back after the last read.
    FileFacts facts;
    if (!ReadFileFacts(fileName, facts)) {
        Skip(fileName, "vanished before it could be read");
        return;
    }
    row.dateAccessed = facts.accessed;
    row.dateCreated = facts.created;
    row.dateModified = facts.modified;
    row.fileExtension = FileExtensionOf(row.fileName);
    row.fileSize = facts.size;

    const int method = kHashMethodFirst + options_.HashMethodIndex();
    const int code = HashFile(method, fileName, row.checkSum);
    if (code != kHashOk) {
        row.checkSum.clear();
        FileFacts after;
        if (!ReadFileFacts(fileName, after)) {
            Skip(fileName, "vanished before it could be read");
            return;
        }
        ++unhashedCount_;
        if (unhashed_.size() < kSkippedKept) {
            unhashed_.push_back({fileName, HashFileFailureText(code)});
        }
    } else {
        bytesHashed_ += facts.size;
    }

    // One open serves the readers of program images; a file that is none costs one read. An ELF
    // file's needed libraries take the place of imports, its own name that of the internal name.
    {
        const TPeFileSource image(fileName);
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

    RestoreAccessedTime(fileName, facts.accessed);

    try {
        catalog_->RunStatement(BuildInsertStatement(row));
    } catch (const ESQLiteException& e) {
        // Any other failure (a full disk, a table without the column) would fail every file
        // after this one as well: it ends the scan.
        if (!IsUniqueConstraintFailure(e)) {
            throw;
        }
        Skip(fileName, kLetterCaseTwin);
        return;
    }

    ++scannedCount_;
    progress_.ScannedCount(scannedCount_);
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
}

bool TScanRun::IsIgnored(const std::string& path) const {
    return std::find(ignoredFiles_.begin(), ignoredFiles_.end(), path) != ignoredFiles_.end();
}

void TScanRun::Skip(const std::string& path, std::string reason) {
    ++skippedCount_;
    if (skipped_.size() < kSkippedKept) {
        skipped_.push_back({path, std::move(reason)});
    }
}

std::string TScanRun::SummaryText() const {
    std::string text = aborted_ ? "Scan aborted" : "";
    const auto add = [&text](int64_t count, const char* one, const char* many) {
        if (count > 0) {
            text += (text.empty() ? "" : ", ") + std::to_string(count) + (count == 1 ? one : many);
        }
    };
    add(skippedCount_, " file skipped", " files skipped");
    add(unhashedCount_, " file without checksum", " files without checksum");
    add(lostCount_, " catalogued file not kept", " catalogued files not kept");
    return text;
}

std::string TScanRun::SkippedHint() const {
    std::string hint;
    for (const auto* list : {&skipped_, &unhashed_}) {
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
