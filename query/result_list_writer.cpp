#include "query/result_list_writer.h"

#include <string>

namespace mirelon {

std::array<OutputColumn, kGridColumnCount> ResultListColumns() {
    std::array<OutputColumn, kGridColumnCount> columns;
    for (std::size_t i = 0; i < kGridColumnCount; ++i) {
        columns[i] = {kGridColumns[i].name, i == kFileSizeColumn};
    }
    return columns;
}

void WriteResultRows(const TResultRowStore& rows, TTableWriter& writer) {
    std::array<std::string, kGridColumnCount> cells;
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        for (std::size_t column = 0; column < kGridColumnCount; ++column) {
            cells[column] = rows.Text(row, column);
        }
        writer.Row(cells);
    }
}

} // namespace mirelon
