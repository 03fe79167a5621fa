#pragma once

#include <string>
#include <vector>

namespace mirelon::testing {

// Checks a whole walk's events (as recorded by ScanEvents) against the folders on disk: every
// folder's files and sub-folders appear in the order the file system lists them, and each
// sub-folder's events follow its own folder event at once (depth-first). Empty when they do.
std::string DepthFirstOrderProblem(const std::vector<std::string>& events);

} // namespace mirelon::testing
