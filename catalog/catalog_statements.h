#pragma once

#include "catalog/date_time.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// The value as an SQL string literal in double quotes, every '"' inside doubled, so SQLite reads
// back exactly the value and no value can end the literal early. Text after a NUL byte is
// dropped: the statement text ends there, and stored texts are read back only up to it anyway.
std::string QuoteValue(std::string_view value);

// One tblFiles row: the twelve columns after fldID, in column order.
struct CatalogRow {
    std::string fullPath, fileName, fileExtension;
    uint64_t fileSize = 0;
    std::string checkSum;
    TDateTime dateCreated = 0, dateModified = 0, dateAccessed = 0;
    std::string importModules, companyName, internalName, fileVersion;
};

std::string BuildInsertStatement(const CatalogRow& row);
// The same INSERT with the twelve values as parameters 1 to 12, in column order.
std::string BoundInsertStatement();
// Rewrites the row of this fldID with every column of `row` but the path, which stays as it is.
std::string BuildUpdateStatement(int64_t fileId, const CatalogRow& row);
// Yields fldFullPath of the row with this path, letter case of ASCII letters ignored: the caller
// tells the path itself from a letter-case twin.
std::string BuildPathLookup(std::string_view fullPath);

// From the last '.' (included) to the end; "" when there is none; ".profile" is its own.
std::string FileExtensionOf(std::string_view fileName);
// ",a.dll,b.dll": each name lower-cased after a comma; "" for no modules.
std::string ImportModulesText(const std::vector<std::string>& modules);
// The same form for the libraries an ELF file needs, letter case kept: ELF names are
// case-sensitive.
std::string NeededLibrariesText(const std::vector<std::string>& libraries);

// A scan commits after every 500th inserted row.
inline constexpr int kCommitBatchRows = 500;
bool IsCommitBoundary(int64_t insertedCount);

} // namespace mirelon
