#pragma once

#include "catalog/sqlite_database.h"
#include "cleanup/file_check.h"
#include "query/result_row.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace mirelon {

enum class RemovalKind { MoveToTrash, DeletePermanently };

struct RemovalOptions {
    RemovalKind kind = RemovalKind::MoveToTrash;
    // The hash methods to check files without a stamp with (CandidateHashMethods), for a catalog
    // that does not record its own.
    int32_t likelyHashMethod = 0;
    bool onlyLikelyHashMethod = false;
    // Check each file and say what would happen, but change nothing.
    bool dryRun = false;
};

struct RemovalOutcome {
    // The file left the disk (or, in a dry run, passed its check and would have).
    bool removed = false;
    // Its row left the catalog.
    bool rowRemoved = false;
    // Why the file stays, or why its row does although the file went.
    std::string reason;
};

// The file as a results row describes it.
FileRecord FileRecordOf(const ResultRow& row);

// Empty when the file is still the one its catalog row describes, else why not: CheckUnchanged
// with the stamp and the hash method the catalog records, where it records them.
std::string CheckCataloguedFile(TSQLiteDatabase& catalog, const FileRecord& file,
                                const RemovalOptions& options);

// Removes one catalogued file: it is checked against its catalog row first (CheckCataloguedFile),
// then moved to the trash or deleted, and only then is its row deleted from the catalog. A file
// that fails keeps its row.
RemovalOutcome RemoveCataloguedFile(TSQLiteDatabase& catalog, const FileRecord& file,
                                    const RemovalOptions& options);

// Called after each file with its index and outcome; returning false stops the run there.
using RemovalProgress = std::function<bool(std::size_t, const RemovalOutcome&)>;

// Removes the files in order, each as RemoveCataloguedFile does; a file that fails does not
// stop the others. Returns one outcome per file handled.
std::vector<RemovalOutcome> RemoveCataloguedFiles(TSQLiteDatabase& catalog,
                                                  std::span<const FileRecord> files,
                                                  const RemovalOptions& options,
                                                  const RemovalProgress& progress = {});

} // namespace mirelon
