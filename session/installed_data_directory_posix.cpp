#include "session/data_directory.h"

#include "base/utf8_path.h"

#include <cstdlib>
#include <stdexcept>

namespace mirelon {

bool IsInstalledProgramDirectory(const std::string& executableDirectory) {
    return PathFromUtf8(executableDirectory).parent_path().filename() == "bin";
}

std::string InstalledDataDirectory() {
    const char* xdgDataHome = std::getenv("XDG_DATA_HOME");
    const std::string directory =
        UserDataDirectory(xdgDataHome != nullptr ? xdgDataHome : "", HomeDirectory());
    if (directory.empty()) {
        throw std::runtime_error("cannot tell where to keep the catalog: neither XDG_DATA_HOME "
                                 "nor HOME is set, and the account has no home directory");
    }
    return directory;
}

} // namespace mirelon
