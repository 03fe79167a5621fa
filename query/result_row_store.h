#pragma once

#include "query/band_colour.h"
#include "query/grid_columns.h"
#include "query/result_row.h"
#include "query/text_arena.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mirelon {

// The rows of the results grid, kept compactly so that a million of them fit: each row is one
// record in an arena (twelve end offsets, then the texts back to back) plus a colour byte.
// Row numbers are display positions; sorting reorders them.
class TResultRowStore {
public:
    TResultRowStore() = default;
    TResultRowStore(const TResultRowStore&) = delete;
    TResultRowStore& operator=(const TResultRowStore&) = delete;

    std::size_t RowCount() const { return rows_.size(); }
    void Clear();
    void AppendRow(const ResultRow& row);
    // Drops the rows marked in `remove` (one flag per row); the others keep their order. Their
    // texts stay in the arena until Clear.
    void RemoveRows(const std::vector<bool>& remove);

    std::string_view Text(std::size_t row, std::size_t column) const;
    BandColour Colour(std::size_t row) const { return colours_[row]; }
    void SetColour(std::size_t row, BandColour colour) { colours_[row] = colour; }

    // Stable sort by one column as its kind orders it. Returns for each new position the
    // position the row had before, so callers can move whatever they keep per row.
    std::vector<std::uint32_t> SortByColumn(std::size_t column, bool ascending);

    std::size_t ReservedBytes() const;

private:
    template <typename Key, typename Less>
    std::vector<std::uint32_t> SortByKey(std::vector<Key> keys, bool ascending, Less less);
    void Reorder(const std::vector<std::uint32_t>& order);

    TTextArena arena_;
    std::vector<const char*> rows_;
    std::vector<BandColour> colours_;
};

} // namespace mirelon
