#pragma once

#include "catalog/sqlite_cells.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace mirelon {

// The complete result of one query, read into memory when it is made and walked forward with a
// cursor. Detached from the database once constructed. Made by TSQLiteDatabase::OpenResult.
class TSQLiteTable {
public:
    // Runs sql on the connection and reads every row; raises ESQLiteException on failure.
    TSQLiteTable(sqlite3* connection, const std::string& sql);
    TSQLiteTable(const TSQLiteTable&) = delete;
    TSQLiteTable& operator=(const TSQLiteTable&) = delete;

    int RowCount() const { return rowCount_; }
    int ColumnCount() const { return columnCount_; }
    bool AtEnd() const { return currentRow_ >= rowCount_; }
    bool MoveNext();

    // Letter case of the name is ignored; with two equal names the first column wins.
    int ColumnIndex(const std::string& name) const;
    std::string TextOf(const std::string& name) const;

    std::string TextAt(int column) const;
    int64_t IntegerAt(int column) const;
    double RealAt(int column) const;
    // Null for a NULL or zero-byte value; the bytes stay owned by the table.
    const std::vector<uint8_t>* BlobAt(int column) const;
    std::string BlobTextAt(int column) const;

private:
    // SQLite's fundamental type codes; a column's kind is fixed by its first row.
    enum ColumnKind : int32_t { kInteger = 1, kReal = 2, kText = 3, kBlob = 4, kNull = 5 };

    static ColumnKind KindOf(const char* declaredType, int firstStorageClass);
    void ReadRow(sqlite3_stmt* statement);
    const TSQLiteCell& CurrentCell(int column) const;

    TSQLiteCells values_;
    int32_t rowCount_ = 0;
    int32_t columnCount_ = 0;
    std::vector<std::string> columnNames_;
    std::vector<ColumnKind> columnKinds_;
    int32_t currentRow_ = 0;
};

} // namespace mirelon
