#pragma once

#include "catalog/date_time.h"

namespace mirelon {

// Moves a date by whole months, keeping the time of day; a day past the end of the target month
// becomes its last day (31 March minus one month is the last day of February).
TDateTime ShiftMonths(TDateTime dateTime, int months);

// Moves a date by whole years and returns midnight of that day; 29 February becomes 28 February
// in a year that has none.
TDateTime ShiftYears(TDateTime dateTime, int years);

} // namespace mirelon
