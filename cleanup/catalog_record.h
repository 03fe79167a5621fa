#pragma once

#include "catalog/sqlite_database.h"
#include "cleanup/file_check.h"

#include <cstdint>

namespace mirelon {

// What a catalog records beside its rows that helps to check a file before it is touched.

// Gives the file the stamp the scan recorded for its row (the exact path), when the catalog
// keeps one and the scan trusted it: a file written just before it was read gets none that
// counts, and is checked by its checksum.
void AddRecordedStamp(TSQLiteDatabase& catalog, FileRecord& file);

// The hash method the catalog records for its checksums; 0 when it records none (a catalog made
// before the record existed, or another program's damaged one).
int32_t RecordedHashMethod(TSQLiteDatabase& catalog);

} // namespace mirelon
