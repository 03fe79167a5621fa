#include "base/file_at.h"

#include <fcntl.h>

namespace mirelon {

int AtFolder(const FileLocation& file) {
    return file.HasFolder() ? static_cast<int>(file.folder) : AT_FDCWD;
}

const char* AtName(const FileLocation& file) {
    return file.HasFolder() ? file.name.c_str() : file.path.c_str();
}

} // namespace mirelon
