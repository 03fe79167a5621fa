#include "query/inside_folder.h"

#include "base/ascii_case.h"

namespace mirelon {

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.remove_suffix(1);
    }
    if (folder.empty() || !EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder)) {
        return false;
    }
    return path.size() == folder.size() || folder == "/" || path[folder.size()] == '/';
}

} // namespace mirelon
