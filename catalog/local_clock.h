#pragma once

#include "catalog/date_time.h"

namespace mirelon {

// The current local date and time, to the millisecond.
TDateTime NowLocal();

} // namespace mirelon
