#pragma once

#include <string>

namespace mirelon {

enum class CatalogFileKind {
    Missing,
    Empty,   // a file of no bytes, as an interrupted first start may leave
    Catalog, // an SQLite database holding only catalog objects
    Other,   // a folder, a text file, another program's database, ...
};

// What stands in the catalog's place, read without changing it. Raises ESQLiteException when
// the file cannot be read (unreadable, locked by another program, damaged), since then nothing
// can be said about it.
CatalogFileKind InspectCatalogFile(const std::string& path);

} // namespace mirelon
