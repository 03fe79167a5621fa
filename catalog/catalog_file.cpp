#include "catalog/catalog_file.h"

#include "base/utf8_path.h"
#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_exception.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace mirelon {

CatalogFileKind InspectCatalogFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(PathFromUtf8(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return CatalogFileKind::Missing;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return CatalogFileKind::Other;
    }
    if (std::filesystem::file_size(PathFromUtf8(path), error) == 0 && !error) {
        return CatalogFileKind::Empty;
    }
    try {
        TSQLiteDatabase database(path);
        return ForeignObjectName(database).empty() ? CatalogFileKind::Catalog
                                                   : CatalogFileKind::Other;
    } catch (const ESQLiteException& failure) {
        if ((failure.Code() & 0xFF) == SQLITE_NOTADB) {
            return CatalogFileKind::Other;
        }
        throw;
    }
}

} // namespace mirelon
