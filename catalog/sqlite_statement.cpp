#include "catalog/sqlite_statement.h"

#include "catalog/sqlite_error.h"

#include <sqlite3.h>

#include <limits>

namespace mirelon {

TSQLiteStatement::TSQLiteStatement(sqlite3* connection, const std::string& sql)
    : connection_(connection) {
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

int TSQLiteStatement::BindText(int index, std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return SQLITE_TOOBIG;
    // A null pointer would bind NULL, and an empty value is an empty text. Static: the caller
    // keeps the text until the step, which saves SQLite a copy per value.
    const char* data = text.data() != nullptr ? text.data() : "";
    return sqlite3_bind_text(statement_, index, data, static_cast<int>(text.size()), SQLITE_STATIC);
}

int TSQLiteStatement::BindInt64(int index, int64_t value) {
    return sqlite3_bind_int64(statement_, index, value);
}

void TSQLiteStatement::Reset() {
    sqlite3_reset(statement_);
}

} // namespace mirelon
