#include "exclusions/subfolder_listing.h"

#include "base/utf8_path.h"
#include "exclusions/item_identity.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mirelon {

std::vector<std::string> ListSubfolderNames(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(PathFromUtf8(folder),
                                   fs::directory_options::skip_permission_denied, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code statusError;
        if (entries->symlink_status(statusError).type() == fs::file_type::directory) {
            names.push_back(Utf8FromPath(entries->path().filename()));
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return ItemOrderLess(a, b); });
    return names;
}

} // namespace mirelon
