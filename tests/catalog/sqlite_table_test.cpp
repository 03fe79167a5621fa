#include "catalog/sqlite_database.h"
#include "tests/catalog/failure_text.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace mirelon {
namespace {

class SQLiteTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.RunStatement("CREATE TABLE t (n INTEGER, s VARCHAR (20), lower_int integer, "
                        "r REAL, b BLOB, d DATE, flag BOOLEAN, num NUMERIC, lower_bool boolean, "
                        "sized integer(10), i INT)");
    }
    std::unique_ptr<TSQLiteTable> Query(const std::string& sql) { return db.OpenResult(sql); }

    TSQLiteDatabase db{":memory:"};
};

TEST_F(SQLiteTableTest, EmptyResultHasNoRowsAndNoColumns) {
    const auto result = Query("SELECT * FROM t");
    EXPECT_EQ(result->RowCount(), 0);
    EXPECT_EQ(result->ColumnCount(), 0);
    EXPECT_TRUE(result->AtEnd());
    EXPECT_FALSE(result->MoveNext());
    EXPECT_EQ(FailureText([&] { result->TextOf("n"); }), "Field n Not found. Empty dataset");
}

TEST_F(SQLiteTableTest, ColumnNamesMatchInAnyCaseFirstOneWins) {
    const auto result = Query("SELECT 1 AS Size, 2 AS size, 3 AS Other");
    EXPECT_EQ(result->ColumnIndex("SIZE"), 0);
    EXPECT_EQ(result->ColumnIndex("sIzE"), 0);
    EXPECT_EQ(result->TextOf("other"), "3");
    EXPECT_EQ(FailureText([&] { result->TextOf("missing"); }),
              "Field not found in dataset: missing");
}

TEST_F(SQLiteTableTest, CursorWalksForwardAndStopsAtTheEnd) {
    db.RunStatement("INSERT INTO t (n) VALUES (1), (2)");
    const auto result = Query("SELECT n FROM t ORDER BY n");
    ASSERT_EQ(result->RowCount(), 2);
    EXPECT_EQ(result->IntegerAt(0), 1);
    EXPECT_TRUE(result->MoveNext());
    EXPECT_EQ(result->IntegerAt(0), 2);
    EXPECT_TRUE(result->MoveNext());
    EXPECT_TRUE(result->AtEnd());
    EXPECT_FALSE(result->MoveNext());
    for (auto read :
         {+[](const TSQLiteTable& r) { r.TextAt(0); },
          +[](const TSQLiteTable& r) { r.IntegerAt(0); },
          +[](const TSQLiteTable& r) { r.RealAt(0); }, +[](const TSQLiteTable& r) { r.BlobAt(0); }})
        EXPECT_EQ(FailureText([&] { read(*result); }), "Table is at End of File");
}

TEST_F(SQLiteTableTest, NullsReadAsZeroOrEmpty) {
    db.RunStatement("INSERT INTO t DEFAULT VALUES");
    const auto result = Query("SELECT n, s, r, b, lower_int FROM t");
    EXPECT_EQ(result->TextAt(0), "0");
    EXPECT_EQ(result->IntegerAt(0), 0);
    EXPECT_EQ(result->TextAt(1), "");
    EXPECT_EQ(result->TextAt(2), "0");
    EXPECT_EQ(result->RealAt(2), 0.0);
    EXPECT_EQ(result->BlobAt(3), nullptr);
    // Absent cells read as nothing whatever the column's kind.
    EXPECT_EQ(result->IntegerAt(1), 0);
    EXPECT_EQ(result->BlobAt(1), nullptr);
}

TEST_F(SQLiteTableTest, DeclaredTypeDecidesTheKindCaseSensitively) {
    db.RunStatement("INSERT INTO t (n, s, r, d, flag, num, lower_bool, sized, i) "
                    "VALUES (-7, 'x', -2.75, '2024-01-02', 1, 5, 1, 10, 3)");
    const auto result = Query("SELECT n, s, r, d, flag, num, lower_bool, sized, i FROM t");
    EXPECT_EQ(result->TextAt(0), "-7");
    EXPECT_EQ(result->RealAt(0), -7.0);
    EXPECT_EQ(FailureText([&] { result->RealAt(1); }), "Not an integer or numeric field");
    EXPECT_EQ(FailureText([&] { result->BlobAt(1); }), "Not a Blob field");
    EXPECT_EQ(result->IntegerAt(2), -2); // truncated toward zero
    EXPECT_EQ(result->TextAt(3), "2024-01-02");
    EXPECT_EQ(result->IntegerAt(4), 1);
    EXPECT_EQ(result->RealAt(5), 5.0);
    EXPECT_EQ(result->TextAt(5), "5");
    // Types other than the exact upper-case names are text, even when they hold numbers.
    for (int column : {6, 7, 8}) {
        EXPECT_EQ(FailureText([&] { result->IntegerAt(column); }),
                  "Not an integer or numeric field")
            << column;
    }
    EXPECT_EQ(result->TextAt(7), "10");
}

// SQLite 3.37 and later report the standard type names (integer, int, real, text, blob, any)
// in upper case whatever the declaration's case, so a lower-case "integer" column arrives as
// "INTEGER". The rule compares the reported type, so such a column reads as integer.
TEST_F(SQLiteTableTest, LowerCaseStandardTypeNameIsReportedUpperCase) {
    db.RunStatement("INSERT INTO t (lower_int) VALUES (42)");
    const auto result = Query("SELECT lower_int FROM t");
    if (sqlite3_libversion_number() < 3037000)
        EXPECT_EQ(FailureText([&] { result->IntegerAt(0); }), "Not an integer or numeric field");
    else
        EXPECT_EQ(result->IntegerAt(0), 42);
    EXPECT_EQ(result->TextAt(0), "42");
}

TEST_F(SQLiteTableTest, ExpressionColumnTakesTheKindOfItsFirstValue) {
    const auto result =
        Query("SELECT CASE WHEN v = 1 THEN NULL ELSE 'text' END AS e, v * 2 AS twice "
              "FROM (SELECT 1 AS v UNION ALL SELECT 2) ORDER BY v");
    ASSERT_EQ(result->RowCount(), 2);
    EXPECT_EQ(result->TextAt(0), "");
    EXPECT_EQ(result->IntegerAt(1), 2);
    result->MoveNext();
    EXPECT_EQ(result->TextAt(0), ""); // kind 5 for the whole column
    EXPECT_EQ(FailureText([&] { result->IntegerAt(0); }), "Not an integer or numeric field");
    EXPECT_EQ(result->TextAt(1), "4");
}

TEST_F(SQLiteTableTest, TextStopsAtAnEmbeddedNul) {
    const auto result = Query("SELECT CAST(X'61620063' AS TEXT)");
    EXPECT_EQ(result->TextAt(0), "ab");
}

TEST_F(SQLiteTableTest, BlobsComeBackByteForByte) {
    db.RunStatement("INSERT INTO t (n, b) VALUES (1, X''), (2, X'00FF41'), (3, ',a.dll')");
    const auto result = Query("SELECT b FROM t ORDER BY n");
    EXPECT_EQ(result->BlobAt(0), nullptr); // zero bytes read as none
    EXPECT_EQ(result->TextAt(0), "");
    result->MoveNext();
    ASSERT_NE(result->BlobAt(0), nullptr);
    EXPECT_EQ(*result->BlobAt(0), (std::vector<uint8_t>{0x00, 0xFF, 0x41}));
    EXPECT_EQ(result->BlobTextAt(0), std::string("\0\xFF"
                                                 "A",
                                                 3));
    result->MoveNext();
    EXPECT_EQ(result->TextAt(0), ",a.dll");
}

TEST_F(SQLiteTableTest, RealsUseFifteenDigitGeneralText) {
    const auto result =
        Query("SELECT 0.1, 1.0 / 3, 1e20, 0.00001, 0.000001, 123456789012345678.0, -2.5, "
              "100.0, 999999999999999.0, 0.0001234");
    const char* expected[] = {
        "0.1", "0.333333333333333", "1e+20",    "0.00001", "1e-06", "1.23456789012346e+17", "-2.5",
        "100", "999999999999999",   "0.0001234"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(result->TextAt(c), expected[c]) << c;
}

// Short texts share arena chunks, long ones get blocks of their own; none may overlap.
TEST_F(SQLiteTableTest, ManyRowsKeepTheirOwnTexts) {
    db.RunStatement(
        "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k "
        "WHERE i < 3000) INSERT INTO t (n, s) SELECT i, printf('%0*d', i * 37 % 25000, i)"
        " FROM k");
    const auto result = Query("SELECT n, s FROM t ORDER BY n");
    ASSERT_EQ(result->RowCount(), 3000);
    for (int64_t i = 1; !result->AtEnd(); ++i, result->MoveNext()) {
        ASSERT_EQ(result->IntegerAt(0), i);
        const std::string text = result->TextAt(1);
        ASSERT_EQ(std::stoll(text), i);
        ASSERT_EQ(text.size(), std::max<size_t>(std::to_string(i).size(), i * 37 % 25000));
    }
}

} // namespace
} // namespace mirelon
