#include "catalog/catalog_schema.h"
#include "catalog/catalog_statements.h"
#include "tests/catalog/failure_text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

CatalogRow SampleRow(const std::string& fullPath) {
    CatalogRow row;
    row.fullPath = fullPath;
    row.fileName = fullPath.substr(fullPath.rfind('/') + 1);
    row.fileExtension = FileExtensionOf(row.fileName);
    row.fileSize = 5'000'000'000ULL; // above 4 GiB
    row.checkSum = "d41d8cd98f00b204e9800998ecf8427e";
    row.dateCreated = EncodeDate(2024, 5, 17);
    row.dateModified = EncodeDateTime({2024, 5, 17, 10, 0, 0, 0});
    row.dateAccessed = EncodeDateTime({1899, 12, 29, 6, 0, 0, 0});
    row.importModules = ImportModulesText({"KERNEL32.dll", "user32.DLL"});
    row.companyName = "Acme";
    row.internalName = "tool";
    row.fileVersion = "1.2.3.4";
    return row;
}

class CatalogStatementsTest : public ::testing::Test {
protected:
    int64_t Count(TSQLiteDatabase& on, const std::string& where = "1") {
        return on.OpenResult("SELECT count(*) FROM tblFiles WHERE " + where)->IntegerAt(0);
    }
    void Insert(const CatalogRow& row) { db->RunStatement(BuildInsertStatement(row)); }

    test::TTempFolder dir;
    std::unique_ptr<TSQLiteDatabase> db = CreateDatabase(dir.Slashed());
};

TEST(CatalogQuoting, DoublesEveryDoubleQuote) {
    EXPECT_EQ(QuoteValue(""), "\"\"");
    EXPECT_EQ(QuoteValue("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(QuoteValue("\"\""), "\"\"\"\"\"\"");
    EXPECT_EQ(QuoteValue("it's"), "\"it's\"");
    EXPECT_EQ(QuoteValue(std::string_view("ab\0\"cd", 6)), "\"ab\"");
}

TEST(CatalogStatementText, InsertAndLookupAreExact) {
    CatalogRow row = SampleRow("/x/a.b");
    row.importModules.clear();
    EXPECT_EQ(BuildInsertStatement(row),
              "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,fldFileSize,"
              "fldCheckSum,fldDateCreated,fldDateModified,fldDateAccessed,fldImportModules,"
              "fldCompanyName,fldInternalName,fldFileVersion) VALUES (\"/x/a.b\",\"a.b\",\".b\","
              "\"5000000000\",\"d41d8cd98f00b204e9800998ecf8427e\",\"2024-05-17\","
              "\"2024-05-17 10:00:00\",\"1899-12-29 06:00:00\",\"\",\"Acme\",\"tool\","
              "\"1.2.3.4\");");
    EXPECT_EQ(BuildPathLookup("/x/\"q\""),
              "SELECT fldFullPath FROM tblFiles WHERE [fldFullPath]=\"/x/\"\"q\"\"\"");
}

TEST(CatalogNames, ExtensionAndImports) {
    EXPECT_EQ(FileExtensionOf(".profile"), ".profile");
    EXPECT_EQ(FileExtensionOf("archive.tar.gz"), ".gz");
    EXPECT_EQ(FileExtensionOf("README"), "");
    EXPECT_EQ(FileExtensionOf("name."), ".");
    EXPECT_EQ(ImportModulesText({"KERNEL32.dll", "User32.DLL"}), ",kernel32.dll,user32.dll");
    EXPECT_EQ(ImportModulesText({}), "");
}

TEST_F(CatalogStatementsTest, RowComesBackExactly) {
    Insert(SampleRow("/data/Big File.iso"));
    const auto result = db->OpenResult("SELECT * FROM tblFiles");
    ASSERT_EQ(result->RowCount(), 1);
    EXPECT_EQ(result->IntegerAt(result->ColumnIndex("fldFileSize")), 5'000'000'000LL);
    EXPECT_EQ(result->TextOf("fldFileSize"), "5000000000");
    EXPECT_EQ(result->TextOf("fldFileName"), "Big File.iso");
    EXPECT_EQ(result->TextOf("fldFileExtension"), ".iso");
    EXPECT_EQ(result->TextOf("fldDateCreated"), "2024-05-17"); // midnight: no trailing blank
    EXPECT_EQ(result->TextOf("fldDateModified"), "2024-05-17 10:00:00");
    EXPECT_EQ(result->TextOf("fldDateAccessed"), "1899-12-29 06:00:00");
    EXPECT_EQ(result->BlobTextAt(result->ColumnIndex("fldImportModules")),
              ",kernel32.dll,user32.dll");
    EXPECT_EQ(result->TextOf("fldFileVersion"), "1.2.3.4");
    EXPECT_EQ(Count(*db, "typeof(fldDateCreated) = 'text' AND typeof(fldFileSize) = 'integer'"), 1);
}

TEST_F(CatalogStatementsTest, MissingExtensionIsEmptyTextNotNull) {
    Insert(SampleRow("/home/u/Makefile"));
    Insert(SampleRow("/home/u/.profile"));
    EXPECT_EQ(Count(*db, "fldFileExtension IS NULL"), 0);
    EXPECT_EQ(Count(*db, "fldFileExtension = ''"), 1);
    EXPECT_EQ(Count(*db, "fldFileName = '.profile' AND fldFileExtension = '.profile'"), 1);
}

TEST_F(CatalogStatementsTest, HostileValuesAreStoredAndFoundExactly) {
    const std::string hostile[] = {"/q/say \"hi\".txt",
                                   "/q/it's",
                                   "/q/a;b",
                                   "/q/x)y",
                                   "/q/--z",
                                   "/q/\"); DROP TABLE tblFiles; --",
                                   "/q/\"\",\"\");DELETE FROM tblFiles;--"};
    for (const std::string& path : hostile) {
        CatalogRow row = SampleRow(path);
        row.fileVersion = path;
        row.companyName = "\"" + path + "\"";
        Insert(row);
    }
    ASSERT_TRUE(db->HasTable("tblFiles"));
    EXPECT_EQ(Count(*db), 7);
    for (const std::string& path : hostile) {
        const auto found = db->OpenResult(BuildPathLookup(path));
        ASSERT_EQ(found->RowCount(), 1) << path;
        EXPECT_EQ(found->TextAt(0), path);
        const auto row =
            db->OpenResult("SELECT * FROM tblFiles WHERE fldFullPath = " + QuoteValue(path));
        ASSERT_EQ(row->RowCount(), 1) << path;
        EXPECT_EQ(row->TextOf("fldFileVersion"), path);
        EXPECT_EQ(row->TextOf("fldCompanyName"), "\"" + path + "\"");
    }
}

TEST_F(CatalogStatementsTest, PathsAreUniqueWithoutRegardToCase) {
    Insert(SampleRow("/Data/File.TXT"));
    EXPECT_EQ(db->OpenResult(BuildPathLookup("/data/file.txt"))->RowCount(), 1);
    EXPECT_EQ(db->OpenResult(BuildPathLookup("/data/other.txt"))->RowCount(), 0);
    EXPECT_EQ(FailureText([&] {
                  Insert(SampleRow("/DATA/FILE.txt"));
              }).rfind("Error executing SQL statement \"INSERT INTO tblFiles(", 0),
              0u);
}

TEST_F(CatalogStatementsTest, BatchesAreVisibleToOthersOnlyWhenCommitted) {
    TSQLiteDatabase observer(dir.File(kCatalogFileName));
    db->StartTransaction();
    for (int64_t inserted = 0; inserted < 501;) {
        Insert(SampleRow("/batch/" + std::to_string(inserted)));
        if (IsCommitBoundary(++inserted)) {
            db->CommitTransaction();
            db->StartTransaction();
        }
    }
    EXPECT_EQ(Count(observer), 500); // the 500th committed, the 501st not yet
    EXPECT_FALSE(IsCommitBoundary(0));
    EXPECT_TRUE(IsCommitBoundary(1000));
    // The scan's own lookups see its uncommitted rows.
    EXPECT_EQ(db->OpenResult(BuildPathLookup("/batch/500"))->RowCount(), 1);
    db->CommitTransaction();
    EXPECT_EQ(Count(observer), 501);
}

TEST_F(CatalogStatementsTest, SingleRowScanIsKeptByTheFinalCommit) {
    db->StartTransaction();
    Insert(SampleRow("/one"));
    db->CommitTransaction();
    db.reset();
    TSQLiteDatabase reopened(dir.File(kCatalogFileName));
    EXPECT_EQ(Count(reopened), 1);
}

} // namespace
} // namespace mirelon
