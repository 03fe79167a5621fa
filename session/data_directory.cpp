#include "session/data_directory.h"

#include "base/utf8_path.h"
#include "scan/path_separator.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mirelon {

namespace {

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

std::string UserDataDirectory(const std::string& xdgDataHome, const std::string& home) {
    // A relative XDG_DATA_HOME is invalid and to be ignored, as the XDG base directories say.
    if (PathFromUtf8(xdgDataHome).is_absolute()) {
        return WithSeparator(xdgDataHome) + "mirelon/";
    }
    if (!home.empty()) {
        return WithSeparator(home) + ".local/share/mirelon/";
    }
    return {};
}

std::string LocalAppDataDirectory(const std::string& localAppData, const std::string& home) {
    if (PathFromUtf8(localAppData).is_absolute()) {
        return WithSeparator(localAppData) + "Mirelon\\";
    }
    if (!home.empty()) {
        return WithSeparator(home) + "AppData\\Local\\Mirelon\\";
    }
    return {};
}

std::string ApplicationDataDirectory() {
    const std::string executableDirectory = DataDirectoryOf(ExecutablePath());
    if (!IsInstalledProgramDirectory(executableDirectory)) {
        return executableDirectory;
    }
    const std::string directory = InstalledDataDirectory();
    // Failing here is not fatal: opening the catalog then says which file it could not make.
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(directory), error);
    return directory;
}

} // namespace mirelon
