#pragma once

#include "catalog/sqlite_table.h"
#include "query/duplicate_filters.h"
#include "query/result_grid_sink.h"

#include <cstddef>

namespace mirelon {

// Appends the rows of a duplicates result ordered by checksum to the grid, filtered: rows the
// filters leave out go, "Same name" splits each checksum's rows by file name, and groups left
// with fewer than two rows go too. Each group's rows come together, in result order. Returns
// how many rows were appended; does not clear the grid.
std::size_t LoadDuplicateGroups(TSQLiteTable& result, TResultGridSink& grid,
                                const DuplicateFilters& filters);

} // namespace mirelon
