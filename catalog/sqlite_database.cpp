#include "catalog/sqlite_database.h"

#include "base/ascii_case.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "catalog/sqlite_statement.h"

#include <sqlite3.h>

namespace mirelon {

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName) {
    // The connection is handed between the window thread and the job's worker, so it needs a
    // threading mode that allows that whatever the library's compiled-in default.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(fileName.c_str(), &connection_, flags, nullptr) != SQLITE_OK) {
        const std::string message = "Failed to open database \"" + fileName + "\" : ";
        if (connection_ == nullptr) {
            throw ESQLiteException(message + "unknown error", SQLITE_NOMEM, "unknown error",
                                   fileName);
        }
        const std::string reason = sqlite3_errmsg(connection_);
        const int code = sqlite3_extended_errcode(connection_);
        sqlite3_close_v2(connection_);
        throw ESQLiteException(message + reason, code, reason, fileName);
    }
    try {
        // Catalog statements quote their values in double quotes; a library built without
        // that reading would otherwise take them for column names. Libraries too old to know
        // the option always read them as strings, so its failure is harmless.
        sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
        sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
        // Another program reading the catalog (the command line during a scan, say) holds a
        // lock for a moment; without a wait, the scan's next commit would fail on it and the
        // uncommitted rows would be lost with the transaction.
        sqlite3_busy_timeout(connection_, kBusyTimeoutMs);
        RunStatement("PRAGMA SYNCHRONOUS=NORMAL;");
        RunStatement("PRAGMA temp_store = MEMORY;");
    } catch (...) {
        sqlite3_close_v2(connection_);
        throw;
    }
}

TSQLiteDatabase::~TSQLiteDatabase() {
    // Closing the connection discards the uncommitted rows all the same if this fails.
    RollbackTransaction();
    sqlite3_close_v2(connection_);
}

void TSQLiteDatabase::RunStatement(const std::string& sql) {
    TSQLiteStatement statement(connection_, sql);
    if (statement.Step() != SQLITE_DONE)
        ReportSQLiteError(connection_, "Error executing SQL statement", sql);
}

void TSQLiteDatabase::SetBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(connection_, milliseconds);
}

std::unique_ptr<TSQLiteStatement> TSQLiteDatabase::Prepare(const std::string& sql) {
    return std::make_unique<TSQLiteStatement>(connection_, sql);
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::OpenResult(const std::string& sql) {
    return std::make_unique<TSQLiteTable>(connection_, sql);
}

int64_t TSQLiteDatabase::LastInsertRowId() const {
    return sqlite3_last_insert_rowid(connection_);
}

void TSQLiteDatabase::StartTransaction() {
    if (inTransaction_)
        throw ESQLiteException("Transaction already open");
    RunStatement("BEGIN TRANSACTION;");
    inTransaction_ = true;
}

void TSQLiteDatabase::CommitTransaction() {
    RunStatement("COMMIT;");
    inTransaction_ = false;
}

void TSQLiteDatabase::RollbackTransaction() noexcept {
    if (inTransaction_ && TransactionActive()) {
        try {
            RunStatement("ROLLBACK;");
        } catch (...) {
        }
    }
    inTransaction_ = false;
}

bool TSQLiteDatabase::TransactionActive() const {
    return connection_ != nullptr && sqlite3_get_autocommit(connection_) == 0;
}

std::string TSQLiteDatabase::FileName() const {
    return DatabaseFileName(connection_);
}

bool TSQLiteDatabase::HasTable(const std::string& name) {
    const std::string lowered = ToLowerAscii(name);
    const auto result =
        OpenResult("select [sql] from sqlite_master where [type] = 'table' and lower(name) = '" +
                   lowered + "' ");
    return result->RowCount() > 0;
}

} // namespace mirelon
