#include "catalog/sqlite_statement.h"

#include "catalog/sqlite_error.h"

#include <sqlite3.h>

#include <limits>

namespace mirelon {

namespace {

std::string_view SqlOf(sqlite3_stmt* statement) {
    const char* sql = sqlite3_sql(statement);
    return sql != nullptr ? sql : "";
}

} // namespace

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

void TSQLiteStatement::Run() {
    if (Step() != SQLITE_DONE) {
        // The error text is the step's; the reset would replace it with its own.
        try {
            ReportSQLiteError(connection_, "Error executing SQL statement", SqlOf(statement_));
        } catch (...) {
            sqlite3_reset(statement_);
            throw;
        }
    }
    sqlite3_reset(statement_);
}

bool TSQLiteStatement::NextRow() {
    const int result = Step();
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        ReportSQLiteError(connection_, "Could not retrieve data", SqlOf(statement_));
    }
    return false;
}

void TSQLiteStatement::Reset() {
    sqlite3_reset(statement_);
}

bool TSQLiteStatement::IsInteger(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_INTEGER;
}

int64_t TSQLiteStatement::IntegerAt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string_view TSQLiteStatement::TextAt(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text == nullptr ? std::string_view()
                           : std::string_view(text, sqlite3_column_bytes(statement_, column));
}

} // namespace mirelon
