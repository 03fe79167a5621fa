#pragma once

#include "query/grid_columns.h"

#include <array>
#include <string>

namespace mirelon {

// One results row as the queries deliver it: the twelve cell texts in grid column order.
using ResultRow = std::array<std::string, kGridColumnCount>;

} // namespace mirelon
