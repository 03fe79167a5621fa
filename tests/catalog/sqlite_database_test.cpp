#include "catalog/sqlite_database.h"
#include "tests/catalog/failure_text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace mirelon {
namespace {

int64_t CountRows(TSQLiteDatabase& db, const std::string& table = "t") {
    return db.OpenResult("SELECT count(*) AS c FROM " + table)->IntegerAt(0);
}

class SQLiteDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { db.RunStatement("CREATE TABLE t (n INTEGER, s VARCHAR (20))"); }

    test::TTempFolder dir;
    TSQLiteDatabase db{dir.File("test.db")};
};

TEST_F(SQLiteDatabaseTest, FailuresNameTheStatementAndSQLiteText) {
    EXPECT_EQ(FailureText([&] { db.RunStatement("SELEC 1"); }),
              "Error executing SQL \"SELEC 1\" : near \"SELEC\": syntax error");
    EXPECT_EQ(FailureText([&] { db.RunStatement("   -- nothing"); }),
              "Could not prepare SQL statement \"   -- nothing\" : No message");
    EXPECT_EQ(FailureText([&] { db.OpenResult(""); }),
              "Could not prepare SQL statement \"\" : No message");
    EXPECT_EQ(FailureText([&] { db.OpenResult("SELECT nope FROM t"); }),
              "Error executing SQL \"SELECT nope FROM t\" : no such column: nope");
}

TEST_F(SQLiteDatabaseTest, RunStatementRejectsAStatementThatYieldsRows) {
    db.RunStatement("INSERT INTO t VALUES (1, 'a')");
    EXPECT_EQ(FailureText([&] {
                  db.RunStatement("SELECT * FROM t");
              }).rfind("Error executing SQL statement \"SELECT * FROM t\" : ", 0),
              0u);
    db.RunStatement("SELECT * FROM t WHERE n = 99"); // no rows: runs to the end
}

TEST_F(SQLiteDatabaseTest, StatementForms) {
    // Only the first statement of a text runs.
    db.RunStatement("INSERT INTO t VALUES (1, 'a'); INSERT INTO t VALUES (2, 'b');");
    EXPECT_EQ(CountRows(db), 1);
    // OpenResult runs a statement without rows and gives an empty result.
    EXPECT_EQ(db.OpenResult("INSERT INTO t VALUES (3, 'c')")->RowCount(), 0);
    EXPECT_EQ(CountRows(db), 2);
    // Double-quoted tokens that name no column are string literals.
    db.RunStatement("INSERT INTO t VALUES (\"7\", \"quoted\")");
    EXPECT_EQ(db.OpenResult("SELECT s FROM t WHERE s = \"quoted\"")->RowCount(), 1);
}

TEST_F(SQLiteDatabaseTest, FailedStatementLeavesConnectionAndTransactionAsTheyWere) {
    db.StartTransaction();
    db.RunStatement("INSERT INTO t VALUES (1, 'a')");
    EXPECT_NE(FailureText([&] { db.RunStatement("INSERT INTO nowhere VALUES (1)"); }),
              "<no failure>");
    EXPECT_TRUE(db.InTransaction());
    db.RunStatement("INSERT INTO t VALUES (2, 'b')");
    db.CommitTransaction();
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(CountRows(db), 2);
}

TEST_F(SQLiteDatabaseTest, StartingTwiceFailsWithoutTouchingTheTransaction) {
    db.StartTransaction();
    db.RunStatement("INSERT INTO t VALUES (1, 'a')");
    EXPECT_EQ(FailureText([&] { db.StartTransaction(); }), "Transaction already open");
    EXPECT_TRUE(db.InTransaction());
    db.CommitTransaction();
    EXPECT_EQ(CountRows(db), 1);
}

TEST_F(SQLiteDatabaseTest, CommitWithoutTransactionIsAnSQLFailure) {
    EXPECT_EQ(FailureText([&] { db.CommitTransaction(); }),
              "Error executing SQL statement \"COMMIT;\" : "
              "cannot commit - no transaction is active");
}

TEST_F(SQLiteDatabaseTest, ReleaseRollsBackAnOpenTransaction) {
    const std::string file = dir.File("rollback.db");
    {
        TSQLiteDatabase first(file);
        first.RunStatement("CREATE TABLE t (n INTEGER)");
        first.RunStatement("INSERT INTO t VALUES (1)");
        first.StartTransaction();
        first.RunStatement("INSERT INTO t VALUES (2)");
    }
    TSQLiteDatabase again(file);
    EXPECT_EQ(CountRows(again), 1);
}

TEST_F(SQLiteDatabaseTest, ReleaseSurvivesATransactionSQLiteAlreadyEnded) {
    auto other = std::make_unique<TSQLiteDatabase>(dir.File("test.db"));
    other->StartTransaction();
    other->RunStatement("ROLLBACK;"); // the flag still says open
    EXPECT_NO_THROW(other.reset());
}

TEST_F(SQLiteDatabaseTest, CommitWaitsForAReaderInsteadOfLosingTheRows) {
    TSQLiteDatabase reader(dir.File("test.db"));
    reader.RunStatement("BEGIN;");
    EXPECT_EQ(CountRows(reader), 0); // holds its read lock until it ends
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        reader.RunStatement("COMMIT;");
    });
    db.StartTransaction();
    db.RunStatement("INSERT INTO t VALUES (1, 'a')");
    EXPECT_NO_THROW(db.CommitTransaction());
    release.join();
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(CountRows(reader), 1);
}

TEST_F(SQLiteDatabaseTest, BusyDatabaseFailsAtOnceWithoutTimeout) {
    db.RunStatement("INSERT INTO t VALUES (1, 'a')");
    EXPECT_EQ(CountRows(db), 1); // the schema is now known to this connection
    db.SetBusyTimeout(0);
    TSQLiteDatabase writer(dir.File("test.db"));
    writer.RunStatement("BEGIN EXCLUSIVE;");
    EXPECT_EQ(FailureText([&] { db.OpenResult("SELECT * FROM t"); }),
              "Could not prepare SQL statement \"SELECT * FROM t\" : SQLite is Busy");
    writer.RunStatement("COMMIT;");
    EXPECT_EQ(CountRows(db), 1);
}

TEST_F(SQLiteDatabaseTest, HasTableIgnoresLetterCase) {
    db.RunStatement("CREATE TABLE TBLFILES (x)");
    EXPECT_TRUE(db.HasTable("tblFiles"));
    EXPECT_TRUE(db.HasTable("T"));
    EXPECT_FALSE(db.HasTable("missing"));
}

TEST(SQLiteDatabaseOpen, FailureNamesTheFile) {
    const std::string file = "/nonexistent-mirelon-dir/files.db";
    EXPECT_EQ(FailureText([&] { TSQLiteDatabase db(file); }),
              "Failed to open database \"" + file + "\" : unable to open database file");
}

TEST(SQLiteDatabaseOpen, CreatesAMissingFileTunedForBulkInserts) {
    test::TTempFolder dir;
    TSQLiteDatabase db(dir.File("new.db"));
    EXPECT_EQ(db.OpenResult("PRAGMA synchronous")->IntegerAt(0), 1); // NORMAL
    EXPECT_EQ(db.OpenResult("PRAGMA temp_store")->IntegerAt(0), 2);  // MEMORY
    EXPECT_FALSE(db.InTransaction());
    EXPECT_TRUE(std::filesystem::exists(dir.File("new.db")));
}

} // namespace
} // namespace mirelon
