#include "catalog/catalog_failure.h"

#include "catalog/sqlite_exception.h"

#include <sqlite3.h>

namespace mirelon {

namespace {

std::string Describe(const ESQLiteException& error) {
    const std::string file = error.FileName().empty() ? "the catalog" : error.FileName();
    const std::string& reason = error.Reason();
    switch (error.Code() & 0xFF) {
    case SQLITE_NOTADB:
    // The catalog's statements are fixed texts with quoted values: when SQLite cannot run one,
    // the file lacks the tables or columns of a catalog.
    case SQLITE_ERROR:
        return file + " is not a catalog (" + reason + ")";
    case SQLITE_CORRUPT:
        return file + " is damaged (" + reason + ")";
    case SQLITE_CANTOPEN:
        return "cannot open " + file + " (" + reason + ")";
    case SQLITE_FULL:
    case SQLITE_READONLY:
        return "cannot write " + file + ": " + reason;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return file + " is in use by another program (" + reason + ")";
    default:
        return file + ": " + reason;
    }
}

} // namespace

std::string DescribeFailure(const std::exception& error) {
    const auto* catalogError = dynamic_cast<const ESQLiteException*>(&error);
    if (catalogError != nullptr && catalogError->Code() != 0) {
        return Describe(*catalogError);
    }
    return error.what();
}

} // namespace mirelon
