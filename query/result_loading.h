#pragma once

#include "catalog/sqlite_table.h"
#include "query/result_grid_sink.h"

#include <array>
#include <cstddef>
#include <functional>

namespace mirelon {

// Rows handed to the grid at a time: each hand-over waits for the window thread, so batches keep
// a large result from costing one thread switch per row.
inline constexpr std::size_t kRowsPerHandOver = 10000;

// Result column of each grid column, found by the catalog column's name.
using GridColumnIndexes = std::array<int, kGridColumnCount>;
GridColumnIndexes FindGridColumns(const TSQLiteTable& result);

// The current result row as grid cell texts, in grid column order.
ResultRow LoadResultRow(const TSQLiteTable& result, const GridColumnIndexes& columns);
ResultRow LoadResultRow(const TSQLiteTable& result);

// Appends every remaining row of the result (those `keep` accepts, when given) to the grid and
// returns how many were appended. Does not clear the grid.
std::size_t LoadResultRows(TSQLiteTable& result, TResultGridSink& grid,
                           const std::function<bool(const ResultRow&)>& keep = {});

} // namespace mirelon
