#include "base/system_error_text.h"

#include <cstring>

namespace mirelon {

std::string SystemErrorText(unsigned long code) {
    char buffer[256];
    // The GNU strerror_r returns the text, which need not be in the buffer.
    return ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
}

} // namespace mirelon
