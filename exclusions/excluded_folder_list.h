#pragma once

#include "exclusions/check_state_store.h"

#include <string>
#include <vector>

namespace mirelon {

// The scan's excluded paths from the store: depth first, a node before its children, children
// in stored order. A node adds its path when it is checked (state 2) and names an existing
// folder or file, or a drive root; a drive root is given as the scan walks it (see
// TDriveRoot::ScanPath), anything else without a trailing separator, as the scanner compares
// entries.
// Partly checked and unchecked nodes add nothing, but the nodes below them are still visited.
std::vector<std::string> ExcludedFolderList(const TCheckStateStore& store,
                                            const std::vector<std::string>& driveScanPaths);

} // namespace mirelon
