#pragma once

#include "base/file_location.h"
#include "catalog/catalog_statements.h"
#include "catalog/file_stamps.h"

#include <cstdint>
#include <string>

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
// last read; a file written to while it is hashed is read once more.
ScannedFile ReadScannedFile(const FileLocation& file, int32_t hashMethod);

} // namespace mirelon
