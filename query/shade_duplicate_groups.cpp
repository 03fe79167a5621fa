#include "query/shade_duplicate_groups.h"

#include "base/ascii_case.h"

namespace mirelon {

namespace {

bool SameGroup(const TResultRowStore& grid, std::size_t a, std::size_t b, bool sameName) {
    return grid.Text(a, kCheckSumColumn) == grid.Text(b, kCheckSumColumn) &&
           (!sameName ||
            EqualIgnoringAsciiCase(grid.Text(a, kFileNameColumn), grid.Text(b, kFileNameColumn)));
}

} // namespace

void ShadeDuplicateGroups(TResultRowStore& grid, bool sameName) {
    BandColour colour = BandColour::White;
    std::size_t row = 0;
    while (row < grid.RowCount()) {
        colour = colour == BandColour::White ? BandColour::Peach : BandColour::White;
        grid.SetColour(row, colour);
        std::size_t next = row + 1;
        while (next < grid.RowCount() && SameGroup(grid, row, next, sameName)) {
            grid.SetColour(next, colour);
            ++next;
        }
        row = next;
    }
}

} // namespace mirelon
