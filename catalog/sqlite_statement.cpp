#include "catalog/sqlite_statement.h"

#include "catalog/sqlite_error.h"

#include <sqlite3.h>

namespace mirelon {

TSQLiteStatement::TSQLiteStatement(sqlite3* connection, const std::string& sql) {
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        ReportSQLiteError(connection, "Error executing SQL", sql);
    }
    if (statement_ == nullptr)
        ReportSQLiteError(connection, "Could not prepare SQL statement", sql);
}

TSQLiteStatement::~TSQLiteStatement() {
    sqlite3_finalize(statement_);
}

int TSQLiteStatement::Step() {
    return sqlite3_step(statement_);
}

} // namespace mirelon
