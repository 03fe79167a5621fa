#pragma once

#include "catalog/sqlite_database.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace mirelon {

inline constexpr const char* kCatalogFileName = "files.db";

std::string TableDefinitionSql();
std::string DateAccessedIndexSql();
std::string FileSizeIndexSql();
// Each file's identity stamp, beside tblFiles and keyed by its fldID; a trigger deletes a row's
// stamp with the row, whoever deletes it.
std::string FileStampsTableSql();
std::string FileStampsInodeIndexSql();
std::string FileStampsDeleteTriggerSql();
// What the catalog says about itself: its format version and the method of its checksums.
std::string CatalogInfoTableSql();

// One object that this program makes in a catalog, with the statement that makes it.
struct CatalogObject {
    std::string_view name;
    std::string (*definition)();
};

// Every table, index and trigger this program makes in a catalog, in the order they are made.
// A database holding nothing else (besides SQLite's own sqlite_... objects) is a catalog, which
// a fresh scan may delete; so whatever a catalog gains later is one more line here.
std::span<const CatalogObject> CatalogObjects();

// Whether an object of this name is the program's or SQLite's own; letter case is ignored, as
// SQLite ignores it.
bool IsCatalogObjectName(std::string_view name);

// The first object of the database that is neither the program's nor SQLite's own; empty when
// there is none.
std::string ForeignObjectName(TSQLiteDatabase& database);

// "<file> is not a catalog; move it away or choose another folder".
std::string NotACatalogText(const std::string& catalogFile);

// The "Create Database" job: opens dataDirectory + "files.db" (dataDirectory ends with a path
// separator), creating the file, tblFiles and its two indexes when the table is missing. An
// existing catalog is used unchanged; a database of another program, which has other objects
// and no tblFiles, is refused untouched. Raises ESQLiteException on failure.
std::unique_ptr<TSQLiteDatabase> CreateDatabase(const std::string& dataDirectory);

} // namespace mirelon
