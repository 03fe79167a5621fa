#pragma once

#include <string>

namespace mirelon {

// General text form of a real: 15 significant digits, '.' whatever the locale; fixed notation
// for magnitudes from 0.00001 up to 15 integer digits, "1.5e+20" style otherwise.
std::string GeneralRealText(double value);

} // namespace mirelon
