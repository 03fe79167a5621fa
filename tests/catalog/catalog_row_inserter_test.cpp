#include "catalog/catalog_row_inserter.h"
#include "catalog/catalog_schema.h"
#include "tests/catalog/failure_text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using namespace std::string_literals;

// Values that break a statement built by hand, and values whose storage depends on affinity.
std::vector<std::string> HostileValues() {
    std::vector<std::string> values = {
        "",
        "it's",
        "say \"hi\"",
        "\"",
        "\"\"",
        "a;b",
        "--z",
        "/* open",
        "\"); DROP TABLE tblFiles; --",
        "\",\"\");DELETE FROM tblFiles;--",
        "line\nbreak",
        "cr\r\nlf\ttab",
        "\xff\xfe latin-1 \xe9",
        "\xc3\x28 broken pair",
        "\xed\xa0\x80 surrogate",
        "\xc0\xaf overlong",
        "before\0after"s,
        "\0"s,
        "true",
        "NULL",
        "fldID",
        "rowid",
        "fldFullPath",
        "123",
        "1e5",
        "-0",
        " 42 ",
        "0x10",
        "?1",
        ":name",
    };
    std::string huge(1 << 20, 'x');
    for (size_t at = 0; at < huge.size(); at += 4099)
        huge[at] = "\"';\n"[at % 4];
    values.push_back(huge);
    return values;
}

std::vector<CatalogRow> HostileRows() {
    const std::vector<std::string> values = HostileValues();
    const uint64_t sizes[] = {0,
                              1,
                              5'000'000'000ULL,
                              static_cast<uint64_t>(std::numeric_limits<int64_t>::max()),
                              static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1,
                              std::numeric_limits<uint64_t>::max()};
    const TDateTime dates[] = {0,   -0.75, 45000.5,      45000.0 + 0.5 / 86400000,
                               1e7, -1e9,  std::nan(""), 45123.999999};
    std::vector<CatalogRow> rows;
    const size_t n = values.size();
    for (size_t i = 0; i < n; ++i) {
        CatalogRow& row = rows.emplace_back();
        // Each column meets every value across the rows; the path stays unique.
        row.fullPath = "/h/" + std::to_string(i) + "/" + values[i];
        row.fileName = values[(i + 1) % n];
        row.fileExtension = values[(i + 2) % n];
        row.fileSize = sizes[i % std::size(sizes)];
        row.checkSum = values[(i + 3) % n];
        row.dateCreated = dates[i % std::size(dates)];
        row.dateModified = dates[(i + 1) % std::size(dates)];
        row.dateAccessed = dates[(i + 2) % std::size(dates)];
        row.importModules = values[(i + 4) % n];
        row.companyName = values[(i + 5) % n];
        row.internalName = values[(i + 6) % n];
        row.fileVersion = values[(i + 7) % n];
    }
    return rows;
}

// Every stored cell as its storage class and its bytes, row by row in fldID order.
std::vector<std::string> StoredCells(TSQLiteDatabase& db) {
    static const char* const kColumns[] = {
        "fldID",           "fldFullPath",      "fldFileName",    "fldFileExtension",
        "fldFileSize",     "fldCheckSum",      "fldDateCreated", "fldDateModified",
        "fldDateAccessed", "fldImportModules", "fldCompanyName", "fldInternalName",
        "fldFileVersion"};
    std::string select = "SELECT ";
    for (const char* column : kColumns) {
        select += "typeof("s + column + "),hex(" + column + "),";
    }
    select += "quote(fldFileSize) FROM tblFiles ORDER BY fldID";
    std::vector<std::string> cells;
    for (auto result = db.OpenResult(select); !result->AtEnd(); result->MoveNext()) {
        for (int column = 0; column < result->ColumnCount(); ++column)
            cells.push_back(result->TextAt(column));
    }
    return cells;
}

class CatalogRowInserterTest : public ::testing::Test {
protected:
    test::TTempFolder textDir, boundDir;
    std::unique_ptr<TSQLiteDatabase> textDb = CreateDatabase(textDir.Slashed());
    std::unique_ptr<TSQLiteDatabase> boundDb = CreateDatabase(boundDir.Slashed());
    TCatalogRowInserter inserter{*boundDb};

    // Inserts both ways; the failure texts, if any, must agree too.
    void InsertBothWays(const CatalogRow& row) {
        const std::string textFailure =
            FailureText([&] { textDb->RunStatement(BuildInsertStatement(row)); });
        const std::string boundFailure = FailureText([&] { inserter.Insert(row); });
        EXPECT_EQ(boundFailure, textFailure) << row.fullPath.substr(0, 80);
    }
};

TEST_F(CatalogRowInserterTest, StoresExactlyWhatTheStatementTextStores) {
    const std::vector<CatalogRow> rows = HostileRows();
    textDb->StartTransaction();
    boundDb->StartTransaction();
    for (const CatalogRow& row : rows)
        InsertBothWays(row);
    textDb->CommitTransaction();
    boundDb->CommitTransaction();

    const std::vector<std::string> text = StoredCells(*textDb);
    const std::vector<std::string> bound = StoredCells(*boundDb);
    constexpr size_t kCellsPerRow = 27;
    ASSERT_EQ(text.size(), rows.size() * kCellsPerRow);
    ASSERT_EQ(bound.size(), text.size());
    for (size_t cell = 0; cell < text.size(); ++cell) {
        if (bound[cell] != text[cell]) {
            ADD_FAILURE() << "row " << cell / kCellsPerRow << ", cell " << cell % kCellsPerRow
                          << ": " << bound[cell].substr(0, 80) << " against "
                          << text[cell].substr(0, 80);
        }
    }
}

TEST_F(CatalogRowInserterTest, RejectedRowsFailAsTheTextDoesAndTheNextRowGoesIn) {
    CatalogRow row = HostileRows()[2];
    InsertBothWays(row);
    // A letter-case twin violates the path's uniqueness.
    row.fullPath = "/H/2/SAY \"HI\"";
    InsertBothWays(row);
    // So does a path that differs only after a NUL byte, which neither way stores.
    row.fullPath = "/h/2/say \"hi\"\0tail"s;
    InsertBothWays(row);
    EXPECT_NE(FailureText([&] { inserter.Insert(row); }).find("UNIQUE constraint failed"),
              std::string::npos);

    row.fullPath = "/after/the/failure";
    InsertBothWays(row);
    EXPECT_EQ(StoredCells(*boundDb), StoredCells(*textDb));
    EXPECT_EQ(boundDb->OpenResult("SELECT count(*) FROM tblFiles")->IntegerAt(0), 2);
}

} // namespace
} // namespace mirelon
