#pragma once

#include "catalog/sqlite_database.h"

#include <memory>
#include <string>

namespace mirelon {

inline constexpr const char* kCatalogFileName = "files.db";

std::string TableDefinitionSql();
std::string DateAccessedIndexSql();
std::string FileSizeIndexSql();

// The "Create Database" job: opens dataDirectory + "files.db" (dataDirectory ends with a path
// separator), creating the file, tblFiles and its two indexes when the table is missing. An
// existing catalog is used unchanged. Raises ESQLiteException on failure.
std::unique_ptr<TSQLiteDatabase> CreateDatabase(const std::string& dataDirectory);

} // namespace mirelon
