#include "session/data_directory.h"

#include "scan/path_separator.h"

#include <algorithm>

namespace mirelon {

std::string DataDirectoryOf(const std::string& executablePath) {
    const auto separator =
        std::find_if(executablePath.rbegin(), executablePath.rend(), IsPathSeparator);
    return std::string(executablePath.begin(), separator.base());
}

std::string ApplicationDataDirectory() {
    return DataDirectoryOf(ExecutablePath());
}

} // namespace mirelon
