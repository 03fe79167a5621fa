#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace mirelon {

// message + ' "' + sql + '" : ' + errorText, the form of every statement failure.
std::string SQLiteFailureText(std::string_view message, std::string_view sql,
                              std::string_view errorText);

// Raises ESQLiteException with the connection's error text, or "No message" when the
// connection reports no error.
[[noreturn]] void ReportSQLiteError(sqlite3* connection, std::string_view message,
                                    std::string_view sql);

} // namespace mirelon
