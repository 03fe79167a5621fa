#include "scan/scanned_file.h"

#include "hash/file_reader.h"
#include "hash/hash_batch.h"
#include "hash/hash_service.h"
#include "scan/elf_dynamic_info.h"
#include "scan/file_times.h"
#include "scan/import_modules.h"
#include "scan/path_separator.h"
#include "scan/pe_image_file.h"
#include "scan/version_info.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>

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

// The first bytes of a file as the checksum's read passes them on, so that a file that cannot be
// a program image needs no read of its own.
class TLeadingBytes final : public ByteSource {
public:
    void Watch(ByteSource& source) {
        source_ = &source;
        seen_ = 0;
    }

    int64_t ReadAt(uint64_t offset, void* buffer, size_t capacity) override {
        const int64_t count = source_->ReadAt(offset, buffer, capacity);
        if (offset == 0 && count > 0) {
            seen_ = std::min(static_cast<size_t>(count), bytes_.size());
            std::memcpy(bytes_.data(), buffer, seen_);
        }
        return count;
    }

    // True when the bytes seen show that the program-image readers would find nothing in a file
    // of `size` bytes: it starts neither as a PE image ("MZ") nor as an ELF file.
    bool RulesOutProgramImage(uint64_t size) const {
        if (size < 2) {
            return true;
        }
        if (seen_ < std::min<uint64_t>(size, bytes_.size())) {
            return false;
        }
        const bool pe = bytes_[0] == 'M' && bytes_[1] == 'Z';
        static constexpr std::array<char, 4> kElfMagic = {'\x7F', 'E', 'L', 'F'};
        const bool elf = seen_ >= 4 && bytes_ == kElfMagic;
        return !pe && !elf;
    }

private:
    ByteSource* source_ = nullptr;
    std::array<char, 4> bytes_{};
    size_t seen_ = 0;
};

// Opens a file to read it whole; `facts` are its directory entry as just read.
bool OpenToRead(FileReader& reader, const FileLocation& file, const FileFacts& facts) {
    return facts.isRegular ? reader.OpenSeenRegular(file) : reader.Open(file);
}

// HashFile on one file with the single-stream code; `noImage` tells whether its first bytes
// rule out a program image.
int HashAlone(const FileLocation& file, const FileFacts& facts, int32_t hashMethod,
              std::string& text, bool& noImage) {
    noImage = false;
    FileReader reader;
    if (!OpenToRead(reader, file, facts)) {
        return kHashCannotOpen;
    }
    TLeadingBytes leading;
    leading.Watch(reader);
    HashBatchResult result = HashSource(hashMethod, {&leading, reader.Size()});
    noImage = leading.RulesOutProgramImage(reader.Size());
    text = std::move(result.text);
    return result.code;
}

void StartRow(const FileLocation& file, ScannedFile& scanned) {
    scanned.row.fullPath = file.path;
    scanned.row.fileName = FileNameOf(file.path);
}

// What follows the first hash: the stamp is checked against the facts (a changed file is hashed
// once more), the program image read unless the first bytes rule it out, and the access time put
// back.
void FinishScannedFile(const FileLocation& file, int32_t hashMethod, FileFacts facts, bool noImage,
                       TStopwatch& stopwatch, ScannedFile& scanned) {
    CatalogRow& row = scanned.row;
    const TDateTime accessed = facts.accessed;
    const KeptTime accessedKept = facts.accessedKept;
    scanned.datesClamped = scanned.datesClamped || facts.datesClamped;
    // Its checksum must match its stamp.
    FileFacts after;
    for (int attempt = 1;; ++attempt) {
        if (!ReadFileFacts(file, after)) {
            scanned.outcome = ScannedFile::Outcome::Vanished;
            return;
        }
        stopwatch.AddTo(scanned.factsNs);
        if (after.stamp == facts.stamp) {
            break;
        }
        if (attempt == 2) {
            RestoreKeptAccessTime(file, accessedKept);
            scanned.outcome = ScannedFile::Outcome::ChangedWhileRead;
            return;
        }
        facts = after;
        scanned.datesClamped = scanned.datesClamped || facts.datesClamped;
        scanned.hashCode = HashAlone(file, facts, hashMethod, row.checkSum, noImage);
        stopwatch.AddTo(scanned.hashNs);
    }
    if (scanned.hashCode != kHashOk) {
        row.checkSum.clear();
        noImage = false;
    }
    row.dateAccessed = accessed;
    row.dateCreated = facts.created;
    row.dateModified = facts.modified;
    row.fileExtension = FileExtensionOf(row.fileName);
    row.fileSize = facts.size;
    scanned.stamp = facts.stamp;

    // Reading without moving the access time (as the file's owner may), and nothing else to
    // read: nothing to put back, and no write has moved the status-change time.
    if (!noImage || after.accessedKept != accessedKept) {
        if (!noImage) {
            ReadProgramImage(file, row);
            stopwatch.AddTo(scanned.imageNs);
        }
        RestoreKeptAccessTime(file, accessedKept);
        // Putting the access time back moves the status-change time; the stamp must hold the
        // moved one, or the next update would take the file for changed. Size, times and
        // identity stay those the checksum was made from, so a write since then shows at the
        // next update.
        FileStamp restored;
        if (ReadFileStamp(file, restored)) {
            scanned.stamp.changedNs = restored.changedNs;
        }
    }
    if (WrittenJustNow(scanned.stamp.modifiedNs)) {
        scanned.stamp.changedNs = 0;
    }
    stopwatch.AddTo(scanned.factsNs);
}

} // namespace

size_t ScannedFile::HeldBytes() const {
    return sizeof(ScannedFile) + row.fullPath.capacity() + row.fileName.capacity() +
           row.fileExtension.capacity() + row.checkSum.capacity() + row.importModules.capacity() +
           row.companyName.capacity() + row.internalName.capacity() + row.fileVersion.capacity() +
           failure.capacity();
}

ScannedFile ReadScannedFile(const FileLocation& file, int32_t hashMethod,
                            const FileFacts* knownFacts) {
    ScannedFile scanned;
    StartRow(file, scanned);
    TStopwatch stopwatch;
    FileFacts facts;
    if (knownFacts != nullptr) {
        facts = *knownFacts;
    } else if (!ReadFileFacts(file, facts)) {
        scanned.outcome = ScannedFile::Outcome::Vanished;
        return scanned;
    }
    stopwatch.AddTo(scanned.factsNs);
    bool noImage = false;
    scanned.hashCode = HashAlone(file, facts, hashMethod, scanned.row.checkSum, noImage);
    stopwatch.AddTo(scanned.hashNs);
    FinishScannedFile(file, hashMethod, facts, noImage, stopwatch, scanned);
    return scanned;
}

namespace {

// Opens each file as a lane takes it, and finishes it as soon as its lane is done with it.
class TScannedFileFeed final : public THashSourceFeed {
public:
    TScannedFileFeed(TFilesToRead& files, int32_t hashMethod)
        : files_(files), hashMethod_(hashMethod) {}

    bool Next(HashBatchSource& source, uint64_t& id) override {
        const FileToRead* file = files_.Next();
        if (file == nullptr) {
            return false;
        }
        id = FreeSlot();
        Slot& slot = slots_[id];
        slot.file = file;
        slot.scanned = ScannedFile();
        StartRow(*file->file, slot.scanned);
        source = {};
        if (OpenToRead(slot.reader, *file->file, *file->facts)) {
            slot.leading.Watch(slot.reader);
            source = {&slot.leading, slot.reader.Size()};
        }
        slot.size = source.size;
        slot.opened = source.source != nullptr;
        return true;
    }

    void Done(uint64_t id, HashBatchResult result) override {
        Slot& slot = slots_[id];
        slot.reader.Close();
        // The lanes' time since the last file ended is put on this one: the sum is right.
        stopwatch_.AddTo(slot.scanned.hashNs);
        slot.scanned.hashCode = result.code;
        slot.scanned.row.checkSum = std::move(result.text);
        const bool noImage = slot.opened && slot.leading.RulesOutProgramImage(slot.size);
        const FileToRead& file = *slot.file;
        FinishScannedFile(*file.file, hashMethod_, *file.facts, noImage, stopwatch_, slot.scanned);
        free_.push_back(id);
        files_.Done(file, std::move(slot.scanned));
    }

private:
    struct Slot {
        const FileToRead* file = nullptr;
        FileReader reader;
        TLeadingBytes leading;
        uint64_t size = 0;
        bool opened = false;
        ScannedFile scanned;
    };

    uint64_t FreeSlot() {
        if (free_.empty()) {
            slots_.emplace_back();
            return slots_.size() - 1;
        }
        const uint64_t id = free_.back();
        free_.pop_back();
        return id;
    }

    TFilesToRead& files_;
    const int32_t hashMethod_;
    std::deque<Slot> slots_; // one per file a lane holds; a deque keeps them in place
    std::vector<uint64_t> free_;
    TStopwatch stopwatch_;
};

class TFileListFeed final : public TFilesToRead {
public:
    TFileListFeed(std::span<const FileToRead> files, std::vector<ScannedFile>& results)
        : files_(files), results_(results) {}

    const FileToRead* Next() override { return next_ < files_.size() ? &files_[next_++] : nullptr; }

    void Done(const FileToRead& file, ScannedFile scanned) override {
        results_[static_cast<size_t>(&file - files_.data())] = std::move(scanned);
    }

private:
    std::span<const FileToRead> files_;
    std::vector<ScannedFile>& results_;
    size_t next_ = 0;
};

} // namespace

void ReadScannedFiles(TFilesToRead& files, int32_t hashMethod) {
    TScannedFileFeed feed(files, hashMethod);
    HashSourceStream(hashMethod, feed);
}

std::vector<ScannedFile> ReadScannedFiles(std::span<const FileToRead> files, int32_t hashMethod) {
    std::vector<ScannedFile> results(files.size());
    TFileListFeed feed(files, results);
    ReadScannedFiles(feed, hashMethod);
    return results;
}

} // namespace mirelon
