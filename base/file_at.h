#pragma once

#include "base/file_location.h"

namespace mirelon {

// Only the Linux side of the platform seams includes this: the two arguments the *at calls
// (openat, fstatat, statx, utimensat) take for a file location, the open folder and the name in
// it, or the working folder and the full path.
int AtFolder(const FileLocation& file);
const char* AtName(const FileLocation& file);

} // namespace mirelon
