#pragma once

#include <string>
#include <vector>

namespace mirelon {

// The names of the folders directly inside `folder`, in the tree's sibling order. Symbolic links
// are left out, as the scan does not follow them; an unreadable folder has none.
std::vector<std::string> ListSubfolderNames(const std::string& folder);

} // namespace mirelon
