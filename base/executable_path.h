#pragma once

#include <string>

namespace mirelon {

// Full path of the running executable, whatever the working directory; empty if unknown.
std::string ExecutablePath();

} // namespace mirelon
