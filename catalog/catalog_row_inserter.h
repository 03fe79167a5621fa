#pragma once

#include "catalog/catalog_statements.h"

#include <memory>

namespace mirelon {

class TSQLiteDatabase;
class TSQLiteStatement;

// Inserts catalog rows through one prepared INSERT with bound values: SQLite parses the
// statement once instead of once per row. A row is stored byte for byte as the text of
// BuildInsertStatement stores it (a value ends at its first NUL byte, the column's affinity
// decides the storage class), and a rejected row raises the text that statement would raise.
class TCatalogRowInserter {
public:
    // The catalog must outlive the inserter; both are used by one thread at a time.
    explicit TCatalogRowInserter(TSQLiteDatabase& catalog);
    ~TCatalogRowInserter();
    TCatalogRowInserter(const TCatalogRowInserter&) = delete;
    TCatalogRowInserter& operator=(const TCatalogRowInserter&) = delete;

    void Insert(const CatalogRow& row);

private:
    std::unique_ptr<TSQLiteStatement> statement_;
};

} // namespace mirelon
