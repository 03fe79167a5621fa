#include "query/inside_folder.h"

#include "base/ascii_case.h"
#include "scan/path_separator.h"

namespace mirelon {

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && IsPathSeparator(folder.back())) {
        folder.remove_suffix(1);
    }
    if (folder.empty() || !EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder)) {
        return false;
    }
    // After a root that is a separator alone ("/") the first name follows at once.
    return path.size() == folder.size() || IsPathSeparator(folder.back()) ||
           IsPathSeparator(path[folder.size()]);
}

} // namespace mirelon
