#include "session/data_directory.h"

namespace mirelon {

std::string DataDirectoryOf(const std::string& executablePath) {
    const auto separator = executablePath.find_last_of('/');
    if (separator == std::string::npos) {
        return {};
    }
    return executablePath.substr(0, separator + 1);
}

std::string ApplicationDataDirectory() {
    return DataDirectoryOf(ExecutablePath());
}

} // namespace mirelon
