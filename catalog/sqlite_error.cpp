#include "catalog/sqlite_error.h"

#include "catalog/sqlite_exception.h"

#include <sqlite3.h>

namespace mirelon {

std::string SQLiteFailureText(std::string_view message, std::string_view sql,
                              std::string_view errorText) {
    std::string text;
    text.reserve(message.size() + sql.size() + errorText.size() + 6);
    text.append(message).append(" \"").append(sql).append("\" : ").append(errorText);
    return text;
}

void ReportSQLiteError(sqlite3* connection, std::string_view message, std::string_view sql) {
    if (connection == nullptr || sqlite3_errcode(connection) == SQLITE_OK)
        throw ESQLiteException(SQLiteFailureText(message, sql, "No message"));
    const std::string reason = sqlite3_errmsg(connection);
    throw ESQLiteException(SQLiteFailureText(message, sql, reason),
                           sqlite3_extended_errcode(connection), reason,
                           DatabaseFileName(connection));
}

std::string DatabaseFileName(sqlite3* connection) {
    const char* name = connection != nullptr ? sqlite3_db_filename(connection, "main") : nullptr;
    return name != nullptr ? name : "";
}

bool IsUniqueConstraintFailure(const ESQLiteException& error) {
    return error.Code() == SQLITE_CONSTRAINT_UNIQUE;
}

bool IsDamagedDatabase(const ESQLiteException& error) {
    return (error.Code() & 0xFF) == SQLITE_CORRUPT;
}

} // namespace mirelon
