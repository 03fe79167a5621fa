#pragma once

#include "base/file_location.h"
#include "catalog/catalog_statements.h"
#include "catalog/file_stamps.h"
#include "scan/file_times.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mirelon {

// What reading one found file gave: its catalog row and stamp, or why it has none. Made on
// whichever thread reads the file; it holds no catalog connection.
struct ScannedFile {
    enum class Outcome {
        Read,             // `row` and `stamp` describe the file
        Vanished,         // gone before it could be read
        ChangedWhileRead, // written to during both of two reads
        Failed,           // an unexpected error, in `failure`
    };
    Outcome outcome = Outcome::Read;
    CatalogRow row;
    FileStamp stamp;
    // HashFile's result: the row's checksum is empty unless it is kHashOk.
    int hashCode = 0;
    // A date lay outside what the catalog holds and was moved to the nearer end of it.
    bool datesClamped = false;
    std::string failure;

    // Nanoseconds spent on the directory entry and access time, the content's checksum, and
    // the program-image readers, for a breakdown of where a scan's time went.
    int64_t factsNs = 0;
    int64_t hashNs = 0;
    int64_t imageNs = 0;

    // The heap bytes held, for the bound on results waiting to be written.
    size_t HeldBytes() const;
};

// Reads one file for the catalog: facts, checksum with `hashMethod`, imported modules and
// version strings or an ELF file's needed libraries and soname, and puts its access time back
// as it was. The access time is taken before anything opens the file and restored after the
// last read; a file written to while it is hashed is read once more. `facts`, when given, are
// the file's directory entry as read just before (the walk reads them to sort files by size);
// otherwise they are read here.
ScannedFile ReadScannedFile(const FileLocation& file, int32_t hashMethod,
                            const FileFacts* facts = nullptr);

// A file to read together with others, and its directory entry as read just before.
struct FileToRead {
    const FileLocation* file = nullptr;
    const FileFacts* facts = nullptr;
};

// Files for ReadScannedFiles, one at a time: the next is asked for when a lane comes free, and
// each result is handed back as soon as it is ready, while the others are still read.
class TFilesToRead {
public:
    // The next file, or null when there is none now; not asked again after that. It must stay
    // as it is until its result is handed back.
    virtual const FileToRead* Next() = 0;
    virtual void Done(const FileToRead& file, ScannedFile scanned) = 0;

protected:
    ~TFilesToRead() = default;
};

// ReadScannedFile for many files at once: with MD4 and MD5 their contents are hashed side by
// side in SIMD lanes, which suits files that HashBatchSuits. Each result is exactly that of
// reading the file alone.
void ReadScannedFiles(TFilesToRead& files, int32_t hashMethod);
// The same for a list, the results in its order.
std::vector<ScannedFile> ReadScannedFiles(std::span<const FileToRead> files, int32_t hashMethod);

} // namespace mirelon
