#include "catalog/catalog_schema.h"
#include "tests/catalog/failure_text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

std::string SchemaText(TSQLiteDatabase& db, const std::string& name) {
    const auto result = db.OpenResult("SELECT sql FROM sqlite_master WHERE name = '" + name + "'");
    return result->RowCount() == 0 ? "<missing>" : result->TextAt(0);
}

TEST(CatalogSchema, DefinitionTextsAreExact) {
    EXPECT_EQ(TableDefinitionSql().size(), 512u);
    EXPECT_EQ(TableDefinitionSql(),
              "CREATE TABLE tblFiles ([fldID] INTEGER PRIMARY KEY,[fldFullPath] VARCHAR (500) "
              "COLLATE NOCASE UNIQUE NOT NULL,[fldFileName] VARCHAR (250) COLLATE NOCASE NOT NULL,"
              "[fldFileExtension] VARCHAR (24) COLLATE NOCASE,[fldFileSize] INTEGER NOT NULL,"
              "[fldCheckSum] VARCHAR (120),[fldDateCreated] DATE NOT NULL,[fldDateModified] DATE "
              "NOT Null,[fldDateAccessed] DATE NOT NULL,[fldImportModules] BLOB COLLATE NOCASE,"
              "[fldCompanyName] VARCHAR (250),[fldInternalName] VARCHAR (120),[fldFileVersion] "
              "VARCHAR (120) COLLATE NOCASE);");
    EXPECT_EQ(DateAccessedIndexSql(),
              "CREATE INDEX idxDateAccessed ON [tblFiles]([fldDateAccessed]);");
    EXPECT_EQ(FileSizeIndexSql(), "CREATE INDEX idxFileSize ON [tblFiles]([fldFileSize]);");
}

TEST(CatalogSchema, CreatesAMissingCatalogWithTableAndIndexes) {
    test::TTempFolder dir;
    const auto db = CreateDatabase(dir.Slashed());
    EXPECT_TRUE(std::filesystem::exists(dir.File(kCatalogFileName)));
    EXPECT_FALSE(db->InTransaction());
    std::string table = TableDefinitionSql();
    table.pop_back(); // SQLite keeps the text without its closing semicolon
    EXPECT_EQ(SchemaText(*db, "tblFiles"), table);
    EXPECT_EQ(SchemaText(*db, "idxDateAccessed"),
              "CREATE INDEX idxDateAccessed ON [tblFiles]([fldDateAccessed])");
    EXPECT_EQ(SchemaText(*db, "idxFileSize"),
              "CREATE INDEX idxFileSize ON [tblFiles]([fldFileSize])");
}

TEST(CatalogSchema, ExistingCatalogIsUsedUnchanged) {
    test::TTempFolder dir;
    CreateDatabase(dir.Slashed())
        ->RunStatement("INSERT INTO tblFiles (fldFullPath, fldFileName, fldFileSize, "
                       "fldDateCreated, fldDateModified, fldDateAccessed) "
                       "VALUES ('/a', 'a', 1, 'x', 'x', 'x')");
    const auto again = CreateDatabase(dir.Slashed());
    EXPECT_EQ(again->OpenResult("SELECT count(*) FROM tblFiles")->IntegerAt(0), 1);
}

TEST(CatalogSchema, TableOfAnyLetterCaseCountsAsPresent) {
    test::TTempFolder dir;
    TSQLiteDatabase(dir.File(kCatalogFileName)).RunStatement("CREATE TABLE TBLFILES (x)");
    const auto db = CreateDatabase(dir.Slashed());
    EXPECT_EQ(SchemaText(*db, "idxFileSize"), "<missing>");
}

TEST(CatalogSchema, UnopenableCatalogRaises) {
    EXPECT_EQ(FailureText([] { CreateDatabase("/nonexistent-mirelon-dir/"); }),
              "Failed to open database \"/nonexistent-mirelon-dir/files.db\" : "
              "unable to open database file");
}

} // namespace
} // namespace mirelon
