#include "scan/scanned_file.h"

#include "hash/hash_service.h"
#include "scan/elf_dynamic_info.h"
#include "scan/file_times.h"
#include "scan/import_modules.h"
#include "scan/path_separator.h"
#include "scan/pe_image_file.h"
#include "scan/version_info.h"

#include <chrono>

namespace mirelon {

namespace {

constexpr int kVersionCompanyName = 0;
constexpr int kVersionFileVersion = 2;
constexpr int kVersionInternalName = 3;

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

// Adds the time since it was made, or since the last Add, to a total.
class TStopwatch {
public:
    void AddTo(int64_t& total) {
        const auto now = std::chrono::steady_clock::now();
        total += std::chrono::duration_cast<std::chrono::nanoseconds>(now - last_).count();
        last_ = now;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// One open serves the readers of program images; a file that is none costs one read. An ELF
// file's needed libraries take the place of imports, its own name that of the internal name.
void ReadProgramImage(const FileLocation& file, CatalogRow& row) {
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

} // namespace

size_t ScannedFile::HeldBytes() const {
    return sizeof(ScannedFile) + row.fullPath.capacity() + row.fileName.capacity() +
           row.fileExtension.capacity() + row.checkSum.capacity() + row.importModules.capacity() +
           row.companyName.capacity() + row.internalName.capacity() + row.fileVersion.capacity() +
           failure.capacity();
}

ScannedFile ReadScannedFile(const FileLocation& file, int32_t hashMethod) {
    ScannedFile scanned;
    CatalogRow& row = scanned.row;
    row.fullPath = file.path;
    row.fileName = FileNameOf(file.path);
    TStopwatch stopwatch;

    FileFacts facts;
    if (!ReadFileFacts(file, facts)) {
        scanned.outcome = ScannedFile::Outcome::Vanished;
        return scanned;
    }
    const TDateTime accessed = facts.accessed;
    const KeptTime accessedKept = facts.accessedKept;
    scanned.datesClamped = facts.datesClamped;
    stopwatch.AddTo(scanned.factsNs);

    // Its checksum must match its stamp.
    for (int attempt = 1;; ++attempt) {
        scanned.hashCode = HashFile(hashMethod, file, row.checkSum);
        stopwatch.AddTo(scanned.hashNs);
        FileFacts after;
        if (!ReadFileFacts(file, after)) {
            scanned.outcome = ScannedFile::Outcome::Vanished;
            return scanned;
        }
        stopwatch.AddTo(scanned.factsNs);
        if (after.stamp == facts.stamp) {
            break;
        }
        if (attempt == 2) {
            RestoreKeptAccessTime(file, accessedKept);
            scanned.outcome = ScannedFile::Outcome::ChangedWhileRead;
            return scanned;
        }
        facts = after;
        scanned.datesClamped = scanned.datesClamped || facts.datesClamped;
    }
    if (scanned.hashCode != kHashOk) {
        row.checkSum.clear();
    }
    row.dateAccessed = accessed;
    row.dateCreated = facts.created;
    row.dateModified = facts.modified;
    row.fileExtension = FileExtensionOf(row.fileName);
    row.fileSize = facts.size;

    ReadProgramImage(file, row);
    stopwatch.AddTo(scanned.imageNs);

    RestoreKeptAccessTime(file, accessedKept);
    // Putting the access time back moves the status-change time; the stamp must hold the moved
    // one, or the next update would take the file for changed. Size, times and identity stay
    // those the checksum was made from, so a write since then shows at the next update.
    scanned.stamp = facts.stamp;
    FileStamp restored;
    if (ReadFileStamp(file, restored)) {
        scanned.stamp.changedNs = restored.changedNs;
    }
    if (WrittenJustNow(scanned.stamp.modifiedNs)) {
        scanned.stamp.changedNs = 0;
    }
    stopwatch.AddTo(scanned.factsNs);
    return scanned;
}

} // namespace mirelon
