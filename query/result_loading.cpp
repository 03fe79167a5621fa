#include "query/result_loading.h"

#include <string>
#include <vector>

namespace mirelon {

GridColumnIndexes FindGridColumns(const TSQLiteTable& result) {
    GridColumnIndexes columns{};
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        columns[column] = result.ColumnIndex(std::string(kGridColumns[column].name));
    }
    return columns;
}

ResultRow LoadResultRow(const TSQLiteTable& result, const GridColumnIndexes& columns) {
    ResultRow row;
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        row[column] = result.TextAt(columns[column]);
    }
    return row;
}

ResultRow LoadResultRow(const TSQLiteTable& result) {
    return LoadResultRow(result, FindGridColumns(result));
}

std::size_t LoadResultRows(TSQLiteTable& result, TResultGridSink& grid,
                           const std::function<bool(const ResultRow&)>& keep) {
    if (result.AtEnd()) {
        return 0;
    }
    const GridColumnIndexes columns = FindGridColumns(result);
    std::size_t appended = 0;
    std::vector<ResultRow> batch;
    batch.reserve(
        std::min<std::size_t>(kRowsPerHandOver, static_cast<std::size_t>(result.RowCount())));
    for (; !result.AtEnd(); result.MoveNext()) {
        ResultRow row = LoadResultRow(result, columns);
        if (keep && !keep(row)) {
            continue;
        }
        batch.push_back(std::move(row));
        if (batch.size() == kRowsPerHandOver) {
            appended += batch.size();
            grid.AppendRows(batch);
            batch.clear();
        }
    }
    if (!batch.empty()) {
        appended += batch.size();
        grid.AppendRows(batch);
    }
    return appended;
}

} // namespace mirelon
