#pragma once

#include <string>

namespace mirelon {

// Why the file at `path` cannot be looked at, in the system's words ("No such file or
// directory"), for a file whose facts could not be read.
std::string LookUpFailure(const std::string& path);

} // namespace mirelon
