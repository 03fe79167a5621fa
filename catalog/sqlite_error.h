#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace mirelon {

class ESQLiteException;

// message + ' "' + sql + '" : ' + errorText, the form of every statement failure.
std::string SQLiteFailureText(std::string_view message, std::string_view sql,
                              std::string_view errorText);

// Raises ESQLiteException with the connection's error text, or "No message" when the
// connection reports no error.
[[noreturn]] void ReportSQLiteError(sqlite3* connection, std::string_view message,
                                    std::string_view sql);

// The file name of the connection's main database; empty for one in memory.
std::string DatabaseFileName(sqlite3* connection);

// Whether the failure is a row that a UNIQUE column already holds.
bool IsUniqueConstraintFailure(const ESQLiteException& error);

// Whether SQLite found the database file damaged.
bool IsDamagedDatabase(const ESQLiteException& error);

} // namespace mirelon
