#include "catalog/catalog_schema.h"

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

std::unique_ptr<TSQLiteDatabase> CreateDatabase(const std::string& dataDirectory) {
    auto database = std::make_unique<TSQLiteDatabase>(dataDirectory + kCatalogFileName);
    if (database->HasTable("tblFiles"))
        return database;
    database->RunStatement(TableDefinitionSql());
    database->RunStatement(DateAccessedIndexSql());
    database->RunStatement(FileSizeIndexSql());
    return database;
}

} // namespace mirelon
