#pragma once

#include "catalog/sqlite_database.h"

#include <string>
#include <string_view>

namespace mirelon {

// The format of the catalog's own tables beside tblFiles; a catalog recording a higher one was
// made by a newer program, whose tables this one would not keep right.
inline constexpr int kCatalogFormatVersion = 1;

struct CatalogFormat {
    int version = 0;        // 0: none recorded
    std::string hashMethod; // as the checksum service names it ("MD5"); empty: none recorded
};

// What the catalog records about itself, read without writing anything. A missing or damaged
// tblCatalogInfo records nothing.
CatalogFormat ReadCatalogFormat(TSQLiteDatabase& catalog);

// Makes the stamp table, its index and trigger and tblCatalogInfo where they are missing, and
// makes again those that are not as this program makes them (damaged, or another program's).
// tblFiles and its rows are never touched. True when the stamps were lost on the way, or can no
// longer be trusted (the method they vouch for is no longer known): every row then counts as
// changed at the next update.
bool PrepareCatalogFormat(TSQLiteDatabase& catalog);

// Records this program's format version and the method of the catalog's checksums.
void RecordCatalogFormat(TSQLiteDatabase& catalog, std::string_view hashMethod);

// Deletes every stamp, so that the next update hashes every file again.
void ForgetFileStamps(TSQLiteDatabase& catalog);

} // namespace mirelon
