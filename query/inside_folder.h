#pragma once

#include <string_view>

namespace mirelon {

// Whether the path is the folder itself or lies anywhere below it, names parted by the
// platform's separators ('/' on Linux; '\' and '/' on Windows). The folder may end in one (a
// drive root does); letter case of ASCII letters is ignored, as the catalog's paths and the
// scan's excluded folders compare.
bool IsInsideFolder(std::string_view path, std::string_view folder);

} // namespace mirelon
