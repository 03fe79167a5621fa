#pragma once

#include <string>

namespace mirelon {

// The system's own words for an error code: errno on Linux ("Permission denied"), the value of
// GetLastError on Windows, without a trailing full stop or line end.
std::string SystemErrorText(unsigned long code);

} // namespace mirelon
