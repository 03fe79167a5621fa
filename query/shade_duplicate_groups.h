#pragma once

#include "query/result_row_store.h"

namespace mirelon {

// Colours the rows in their current order in bands: each run of equal Check Sum texts (compared
// case-sensitively) gets one colour, alternating peach and white, the first run peach.
void ShadeDuplicateGroups(TResultRowStore& grid);

} // namespace mirelon
