#pragma once

// Every column of every catalog row as text, fldID first, in fldID order: what a scan stored
// and in which order, for comparing two catalogs whole.

#include "catalog/sqlite_database.h"

#include <string>
#include <utility>
#include <vector>

namespace mirelon::testing {

inline std::vector<std::vector<std::string>> RowsInIdOrder(const std::string& catalogFile) {
    TSQLiteDatabase reader(catalogFile);
    const auto table = reader.OpenResult("SELECT * FROM tblFiles ORDER BY fldID");
    std::vector<std::vector<std::string>> rows;
    for (; !table->AtEnd(); table->MoveNext()) {
        std::vector<std::string> row;
        for (int column = 0; column < table->ColumnCount(); ++column) {
            row.push_back(table->TextAt(column));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace mirelon::testing
