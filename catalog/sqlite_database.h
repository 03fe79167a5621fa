#pragma once

#include "catalog/sqlite_statement.h"
#include "catalog/sqlite_table.h"

#include <memory>
#include <string>

struct sqlite3;

namespace mirelon {

// One open SQLite database file. Used by one thread at a time, possibly not the one that made
// it. Every failure raises ESQLiteException.
class TSQLiteDatabase {
public:
    // How long a statement waits for another connection's lock before it fails.
    static constexpr int kBusyTimeoutMs = 10000;

    // Opens (creating when missing) and tunes the connection for bulk inserts.
    explicit TSQLiteDatabase(const std::string& fileName);
    // Rolls back an open transaction, then closes; never throws.
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // Runs the first statement of sql, which must finish without yielding rows.
    void RunStatement(const std::string& sql);
    std::unique_ptr<TSQLiteTable> OpenResult(const std::string& sql);
    // fldID of the row the last INSERT on this connection made.
    int64_t LastInsertRowId() const;

    // Raises "Transaction already open" without touching the database when one is open.
    void StartTransaction();
    void CommitTransaction();
    // Rolls back what StartTransaction opened, if SQLite still holds it; never throws. A
    // rollback that fails is left to SQLite's journal, which undoes the rows on the next open.
    void RollbackTransaction() noexcept;
    bool InTransaction() const { return inTransaction_; }
    // Whether SQLite still holds a transaction: after a full disk or an I/O error it may have
    // rolled one back by itself, while InTransaction still says open.
    bool TransactionActive() const;

    // The database file, as SQLite names it.
    std::string FileName() const;

    // Letter case of the name is ignored.
    bool HasTable(const std::string& name);

    // 0 makes a locked database fail at once.
    void SetBusyTimeout(int milliseconds);

    // The first statement of sql, prepared once to be run many times with bound values, or to
    // read row by row; it must go before the database does.
    std::unique_ptr<TSQLiteStatement> Prepare(const std::string& sql);

private:
    sqlite3* connection_ = nullptr;
    bool inTransaction_ = false;
};

} // namespace mirelon
