#include "cli/cli_catalog_location.h"

#include "base/utf8_path.h"
#include "catalog/catalog_schema.h"
#include "scan/path_separator.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace mirelon {

namespace {

std::string WithSeparator(std::string folder) {
    if (folder.empty() || !IsPathSeparator(folder.back())) {
        folder += PathSeparator();
    }
    return folder;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(PathFromUtf8(path), error);
}

} // namespace

std::string CanonicalFolderPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::absolute(PathFromUtf8(path), error);
    if (!error) {
        const auto resolved = std::filesystem::weakly_canonical(canonical, error);
        if (!error) {
            canonical = resolved;
        }
    } else {
        canonical = PathFromUtf8(path);
    }
    canonical = canonical.lexically_normal();
    // A trailing separator leaves an empty last name, except after a root ("/", "C:\").
    if (!canonical.has_filename() && canonical != canonical.root_path()) {
        canonical = canonical.parent_path();
    }
    return Utf8FromPath(canonical);
}

std::string CatalogDataDirectory(CliCommand command, const std::string& catalogPath,
                                 const std::string& defaultDataDirectory) {
    if (catalogPath.empty()) {
        return defaultDataDirectory;
    }
    if (IsFolder(catalogPath)) {
        return WithSeparator(CanonicalFolderPath(catalogPath));
    }
    const std::filesystem::path file = PathFromUtf8(catalogPath);
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    // Whatever is not there and is not called files.db was meant as a folder.
    if (IsPathSeparator(catalogPath.back()) || (!exists && file.filename() != kCatalogFileName)) {
        throw ECliUsage(command, "--db: no such folder '" + catalogPath + "'");
    }
    if (file.filename() != kCatalogFileName) {
        throw ECliUsage(command, "--db: '" + catalogPath +
                                     "' is neither a folder nor a file named " +
                                     std::string(kCatalogFileName));
    }
    const std::string parent = Utf8FromPath(file.parent_path());
    const std::string folder = CanonicalFolderPath(parent.empty() ? std::string(".") : parent);
    if (!IsFolder(folder)) {
        throw ECliUsage(command, "--db: no such folder '" + parent + "'");
    }
    return WithSeparator(folder);
}

std::unique_ptr<TSQLiteDatabase> OpenExistingCatalog(const std::string& dataDirectory) {
    const std::string file = dataDirectory + kCatalogFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(PathFromUtf8(file), error)) {
        throw std::runtime_error("no catalog at " + file + "; run 'mirelon-cli scan' first");
    }
    // Like every connection, it waits for a scan's commit instead of failing on it.
    return std::make_unique<TSQLiteDatabase>(file);
}

} // namespace mirelon
