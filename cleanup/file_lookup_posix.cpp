#include "cleanup/file_lookup.h"

#include "base/system_error_text.h"

#include <cerrno>
#include <sys/stat.h>

namespace mirelon {

std::string LookUpFailure(const std::string& path) {
    struct stat facts {};
    if (::lstat(path.c_str(), &facts) != 0) {
        return SystemErrorText(errno);
    }
    return "cannot be looked at";
}

} // namespace mirelon
