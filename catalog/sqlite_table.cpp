#include "catalog/sqlite_table.h"

#include "base/ascii_case.h"
#include "catalog/real_text.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "catalog/sqlite_statement.h"

#include <sqlite3.h>

#include <cstring>
#include <limits>

namespace mirelon {

TSQLiteTable::TSQLiteTable(sqlite3* connection, const std::string& sql) {
    TSQLiteStatement statement(connection, sql);
    for (;;) {
        const int result = statement.Step();
        if (result == SQLITE_DONE)
            break;
        if (result == SQLITE_BUSY)
            throw ESQLiteException(
                SQLiteFailureText("Could not prepare SQL statement", sql, "SQLite is Busy"),
                SQLITE_BUSY, sqlite3_errstr(SQLITE_BUSY), DatabaseFileName(connection));
        if (result != SQLITE_ROW)
            ReportSQLiteError(connection, "Could not retrieve data", sql);
        if (rowCount_ == std::numeric_limits<int32_t>::max())
            throw ESQLiteException(
                SQLiteFailureText("Could not retrieve data", sql, "too many rows for one result"));
        ++rowCount_;
        ReadRow(statement.Handle());
    }
    currentRow_ = 0;
}

TSQLiteTable::ColumnKind TSQLiteTable::KindOf(const char* declaredType, int firstStorageClass) {
    if (declaredType == nullptr)
        return static_cast<ColumnKind>(firstStorageClass);
    // Whole and case-sensitive: "integer" or "VARCHAR (500)" are text columns.
    for (const char* type : {"INTEGER", "BOOLEAN"})
        if (std::strcmp(declaredType, type) == 0)
            return kInteger;
    for (const char* type : {"NUMERIC", "FLOAT", "DOUBLE", "REAL"})
        if (std::strcmp(declaredType, type) == 0)
            return kReal;
    if (std::strcmp(declaredType, "BLOB") == 0)
        return kBlob;
    return kText;
}

void TSQLiteTable::ReadRow(sqlite3_stmt* statement) {
    if (rowCount_ == 1) {
        columnCount_ = sqlite3_column_count(statement);
        columnNames_.reserve(static_cast<size_t>(columnCount_));
        columnKinds_.reserve(static_cast<size_t>(columnCount_));
        for (int c = 0; c < columnCount_; ++c) {
            const char* name = sqlite3_column_name(statement, c);
            columnNames_.push_back(ToUpperAscii(name != nullptr ? name : ""));
            columnKinds_.push_back(
                KindOf(sqlite3_column_decltype(statement, c), sqlite3_column_type(statement, c)));
        }
    }
    for (int c = 0; c < columnCount_; ++c) {
        if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
            values_.AddAbsent();
            continue;
        }
        switch (columnKinds_[static_cast<size_t>(c)]) {
        case kInteger:
            values_.AddInteger(sqlite3_column_int64(statement, c));
            break;
        case kReal:
            values_.AddReal(sqlite3_column_double(statement, c));
            break;
        case kBlob: {
            const void* bytes = sqlite3_column_blob(statement, c);
            values_.AddBlob(bytes, static_cast<size_t>(sqlite3_column_bytes(statement, c)));
            break;
        }
        default: {
            // Up to the first NUL, as the C text the library hands out ends there.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            values_.AddText(text, text != nullptr ? std::strlen(text) : 0);
            break;
        }
        }
    }
}

bool TSQLiteTable::MoveNext() {
    if (AtEnd())
        return false;
    ++currentRow_;
    return true;
}

int TSQLiteTable::ColumnIndex(const std::string& name) const {
    if (columnNames_.empty())
        throw ESQLiteException("Field " + name + " Not found. Empty dataset");
    const std::string wanted = ToUpperAscii(name);
    for (size_t c = 0; c < columnNames_.size(); ++c)
        if (columnNames_[c] == wanted)
            return static_cast<int>(c);
    throw ESQLiteException("Field not found in dataset: " + name);
}

std::string TSQLiteTable::TextOf(const std::string& name) const {
    return TextAt(ColumnIndex(name));
}

const TSQLiteCell& TSQLiteTable::CurrentCell(int column) const {
    if (AtEnd())
        throw ESQLiteException("Table is at End of File");
    return values_[static_cast<size_t>(currentRow_) * static_cast<size_t>(columnCount_) +
                   static_cast<size_t>(column)];
}

std::string TSQLiteTable::TextAt(int column) const {
    const TSQLiteCell& cell = CurrentCell(column);
    switch (columnKinds_[static_cast<size_t>(column)]) {
    case kInteger:
        return std::to_string(IntegerAt(column));
    case kReal:
        return GeneralRealText(RealAt(column));
    case kText:
        return cell.kind == TSQLiteCell::Kind::Text ? cell.Text() : std::string();
    case kBlob:
        return BlobTextAt(column);
    default:
        return std::string();
    }
}

int64_t TSQLiteTable::IntegerAt(int column) const {
    const TSQLiteCell& cell = CurrentCell(column);
    if (cell.kind == TSQLiteCell::Kind::Absent)
        return 0;
    switch (columnKinds_[static_cast<size_t>(column)]) {
    case kInteger:
        return cell.integer;
    case kReal:
        // Truncation toward zero, kept inside the range an int64 can hold.
        if (!(cell.real > -9.2233720368547758e18))
            return cell.real != cell.real ? 0 : std::numeric_limits<int64_t>::min();
        if (!(cell.real < 9.2233720368547758e18))
            return std::numeric_limits<int64_t>::max();
        return static_cast<int64_t>(cell.real);
    default:
        throw ESQLiteException("Not an integer or numeric field");
    }
}

double TSQLiteTable::RealAt(int column) const {
    const TSQLiteCell& cell = CurrentCell(column);
    if (cell.kind == TSQLiteCell::Kind::Absent)
        return 0;
    switch (columnKinds_[static_cast<size_t>(column)]) {
    case kInteger:
        return static_cast<double>(cell.integer);
    case kReal:
        return cell.real;
    default:
        throw ESQLiteException("Not an integer or numeric field");
    }
}

const std::vector<uint8_t>* TSQLiteTable::BlobAt(int column) const {
    const TSQLiteCell& cell = CurrentCell(column);
    if (cell.kind == TSQLiteCell::Kind::Absent)
        return nullptr;
    if (columnKinds_[static_cast<size_t>(column)] != kBlob)
        throw ESQLiteException("Not a Blob field");
    return cell.blob;
}

std::string TSQLiteTable::BlobTextAt(int column) const {
    const std::vector<uint8_t>* blob = BlobAt(column);
    if (blob == nullptr || blob->empty())
        return std::string();
    return std::string(blob->begin(), blob->end());
}

} // namespace mirelon
