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
    const char* errorText = nullptr;
    if (connection != nullptr && sqlite3_errcode(connection) != SQLITE_OK)
        errorText = sqlite3_errmsg(connection);
    throw ESQLiteException(
        SQLiteFailureText(message, sql, errorText != nullptr ? errorText : "No message"));
}

} // namespace mirelon
