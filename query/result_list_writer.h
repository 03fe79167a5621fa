#pragma once

#include "output/table_writer.h"
#include "query/grid_columns.h"
#include "query/result_row_store.h"

#include <array>

namespace mirelon {

// The twelve catalog columns under their field names, as lists of results are written by both
// programs; File Size is a number.
std::array<OutputColumn, kGridColumnCount> ResultListColumns();

// Writes every row of the store in its current order, which is the grid's.
void WriteResultRows(const TResultRowStore& rows, TTableWriter& writer);

} // namespace mirelon
