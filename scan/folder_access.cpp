#include "scan/folder_access.h"

#include "base/utf8_path.h"

#include <filesystem>
#include <system_error>

namespace mirelon {

std::string FolderAccessFailure(const std::string& path) {
    std::error_code error;
    // Reading the first entry lists the folder; looking up "." inside it enters it, which a
    // folder that may be read but not searched (r--) refuses.
    if (const std::filesystem::directory_iterator entries(PathFromUtf8(path), error); error) {
        return error.message();
    }
    if (!std::filesystem::is_directory(PathFromUtf8(path) / ".", error)) {
        return error ? error.message() : "not a folder";
    }
    return {};
}

} // namespace mirelon
