#include "catalog/catalog_schema.h"

#include "base/ascii_case.h"
#include "catalog/sqlite_exception.h"

#include <algorithm>
#include <array>

namespace mirelon {

std::string TableDefinitionSql() {
    return std::string("CREATE TABLE tblFiles ([fldID] INTEGER PRIMARY KEY,"
                       "[fldFullPath] VARCHAR (500) COLLATE NOCASE UNIQUE NOT NULL,") +
           "[fldFileName] VARCHAR (250) COLLATE NOCASE NOT NULL,"
           "[fldFileExtension] VARCHAR (24) COLLATE NOCASE," +
           "[fldFileSize] INTEGER NOT NULL,[fldCheckSum] VARCHAR (120),"
           "[fldDateCreated] DATE NOT NULL," +
           "[fldDateModified] DATE NOT Null,[fldDateAccessed] DATE NOT NULL,"
           "[fldImportModules] BLOB COLLATE NOCASE," +
           "[fldCompanyName] VARCHAR (250),[fldInternalName] VARCHAR (120),"
           "[fldFileVersion] VARCHAR (120) COLLATE NOCASE);";
}

std::string DateAccessedIndexSql() {
    return "CREATE INDEX idxDateAccessed ON [tblFiles]([fldDateAccessed]);";
}

std::string FileSizeIndexSql() {
    return "CREATE INDEX idxFileSize ON [tblFiles]([fldFileSize]);";
}

std::string FileStampsTableSql() {
    return "CREATE TABLE tblFileStamps ([fldID] INTEGER PRIMARY KEY,[fldDevice] INTEGER NOT NULL,"
           "[fldInode] INTEGER NOT NULL,[fldSize] INTEGER NOT NULL,"
           "[fldModifiedNs] INTEGER NOT NULL,[fldChangedNs] INTEGER NOT NULL);";
}

std::string FileStampsInodeIndexSql() {
    return "CREATE INDEX idxFileStampsInode ON [tblFileStamps]([fldDevice],[fldInode]);";
}

std::string FileStampsDeleteTriggerSql() {
    return "CREATE TRIGGER trgFileStampsDelete AFTER DELETE ON [tblFiles] BEGIN "
           "DELETE FROM [tblFileStamps] WHERE [fldID] = OLD.[fldID]; END;";
}

std::string CatalogInfoTableSql() {
    return "CREATE TABLE tblCatalogInfo ([fldName] VARCHAR (40) PRIMARY KEY NOT NULL,"
           "[fldValue] VARCHAR (120) NOT NULL);";
}

std::span<const CatalogObject> CatalogObjects() {
    static constexpr std::array<CatalogObject, 7> kObjects{{
        {"tblFiles", &TableDefinitionSql},
        {"idxDateAccessed", &DateAccessedIndexSql},
        {"idxFileSize", &FileSizeIndexSql},
        {"tblFileStamps", &FileStampsTableSql},
        {"idxFileStampsInode", &FileStampsInodeIndexSql},
        {"trgFileStampsDelete", &FileStampsDeleteTriggerSql},
        {"tblCatalogInfo", &CatalogInfoTableSql},
    }};
    return kObjects;
}

bool IsCatalogObjectName(std::string_view name) {
    // SQLite reserves the prefix for itself: the index behind UNIQUE, statistics, sequences.
    if (EqualIgnoringAsciiCase(name.substr(0, 7), "sqlite_")) {
        return true;
    }
    const auto objects = CatalogObjects();
    return std::any_of(objects.begin(), objects.end(), [&](const CatalogObject& object) {
        return EqualIgnoringAsciiCase(object.name, name);
    });
}

std::string ForeignObjectName(TSQLiteDatabase& database) {
    const auto objects = database.OpenResult("SELECT name FROM sqlite_master");
    for (; !objects->AtEnd(); objects->MoveNext()) {
        std::string name = objects->TextAt(0);
        if (!IsCatalogObjectName(name)) {
            return name;
        }
    }
    return {};
}

std::string NotACatalogText(const std::string& catalogFile) {
    return catalogFile + " is not a catalog; move it away or choose another folder";
}

std::unique_ptr<TSQLiteDatabase> CreateDatabase(const std::string& dataDirectory) {
    const std::string file = dataDirectory + kCatalogFileName;
    auto database = std::make_unique<TSQLiteDatabase>(file);
    if (database->HasTable("tblFiles"))
        return database;
    if (!ForeignObjectName(*database).empty())
        throw ESQLiteException(NotACatalogText(file));
    for (const CatalogObject& object : CatalogObjects())
        database->RunStatement(object.definition());
    return database;
}

} // namespace mirelon
