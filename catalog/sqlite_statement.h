#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
    sqlite3* Connection() const { return connection_; }

    // Parameters count from 1. The text must stay unchanged until the next Step has run; the
    // result is SQLite's (not OK when the value is too big or the index is out of range).
    int BindText(int index, std::string_view text);
    int BindInt64(int index, int64_t value);
    // Makes the statement ready for the next Step; the bound values stay.
    void Reset();

    // Steps once and raises "Error executing SQL statement" unless the statement finished;
    // then resets it for the next values.
    void Run();
    // Steps to the next row of a query: false after the last, "Could not retrieve data" on failure.
    bool NextRow();

    // Reading the row a Step returned; columns count from 0.
    bool IsInteger(int column) const;
    int64_t IntegerAt(int column) const;
    std::string_view TextAt(int column) const;

private:
    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace mirelon
