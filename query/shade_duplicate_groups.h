#pragma once

#include "query/result_row_store.h"

namespace mirelon {

// Colours the rows in their current order in bands: each run of equal Check Sum texts (compared
// case-sensitively) gets one colour, alternating peach and white, the first run peach. With
// sameName a run also shares the file name, letter case ignored, as the search grouped them.
void ShadeDuplicateGroups(TResultRowStore& grid, bool sameName = false);

} // namespace mirelon
