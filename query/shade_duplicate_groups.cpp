#include "query/shade_duplicate_groups.h"

namespace mirelon {

void ShadeDuplicateGroups(TResultRowStore& grid) {
    BandColour colour = BandColour::White;
    std::size_t row = 0;
    while (row < grid.RowCount()) {
        colour = colour == BandColour::White ? BandColour::Peach : BandColour::White;
        grid.SetColour(row, colour);
        const std::string_view checkSum = grid.Text(row, kCheckSumColumn);
        std::size_t next = row + 1;
        while (next < grid.RowCount() && grid.Text(next, kCheckSumColumn) == checkSum) {
            grid.SetColour(next, colour);
            ++next;
        }
        row = next;
    }
}

} // namespace mirelon
