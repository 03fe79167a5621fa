#include "session/data_directory.h"

#include "scan/path_separator.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace mirelon {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string WithSeparator(std::string folder) {
    if (!IsPathSeparator(folder.back())) {
        folder += PathSeparator();
    }
    return folder;
}

} // namespace

std::string DataDirectoryOf(const std::string& executablePath) {
    const auto separator =
        std::find_if(executablePath.rbegin(), executablePath.rend(), IsPathSeparator);
    return std::string(executablePath.begin(), separator.base());
}

bool IsInstalledProgramDirectory(const std::string& executableDirectory) {
    return std::filesystem::path(executableDirectory).parent_path().filename() == "bin";
}

std::string UserDataDirectory(const std::string& xdgDataHome, const std::string& home) {
    // A relative XDG_DATA_HOME is invalid and to be ignored, as the XDG base directories say.
    if (std::filesystem::path(xdgDataHome).is_absolute()) {
        return WithSeparator(xdgDataHome) + "mirelon/";
    }
    if (!home.empty()) {
        return WithSeparator(home) + ".local/share/mirelon/";
    }
    return {};
}

std::string ApplicationDataDirectory() {
    const std::string executableDirectory = DataDirectoryOf(ExecutablePath());
    if (!IsInstalledProgramDirectory(executableDirectory)) {
        return executableDirectory;
    }
    const std::string directory = UserDataDirectory(Environment("XDG_DATA_HOME"), HomeDirectory());
    if (directory.empty()) {
        throw std::runtime_error("cannot tell where to keep the catalog: neither XDG_DATA_HOME "
                                 "nor HOME is set, and the account has no home directory");
    }
    // Failing here is not fatal: opening the catalog then says which file it could not make.
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return directory;
}

} // namespace mirelon
