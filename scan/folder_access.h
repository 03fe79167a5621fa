#pragma once

#include <string>

namespace mirelon {

// Why the folder cannot be listed or entered, in the system's words ("Permission denied");
// empty when it can be both, so that a walk of it sees its files.
std::string FolderAccessFailure(const std::string& path);

} // namespace mirelon
