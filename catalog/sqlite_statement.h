#pragma once

#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace mirelon {

// One prepared statement, finalised when it goes out of scope, also while an exception unwinds.
class TSQLiteStatement {
public:
    // Prepares the first statement of sql; raises "Error executing SQL" when SQLite rejects it
    // and "Could not prepare SQL statement" when the text holds no statement at all.
    TSQLiteStatement(sqlite3* connection, const std::string& sql);
    ~TSQLiteStatement();
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

    int Step();
    sqlite3_stmt* Handle() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace mirelon
