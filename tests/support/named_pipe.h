#pragma once

#include <string>

namespace mirelon::test {

// A named pipe that nobody writes to, for readers that must neither block on it nor read it:
// at `path` on Linux; in the system's pipe namespace on Windows, which has no pipes in folders.
// Returns the path it has; throws when it cannot be made.
std::string MakeNamedPipe(const std::string& path);

} // namespace mirelon::test
