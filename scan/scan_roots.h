#pragma once

#include <string>
#include <vector>

namespace mirelon {

struct ScanRootChoice {
    std::vector<std::string> roots; // to walk, in the order given
    std::vector<std::string> notes; // one per root left out, saying why
};

// The roots worth walking among `canonicalRoots` (absolute, symbolic links resolved, without a
// trailing separator): a root named again is left out, and so is a root that the walk of
// another root reaches anyway, so that no file is read twice. The walk reaches a folder inside
// its root when every folder on the way can be opened, is not excluded and lies on the root's
// file system; a file system mounted inside a root (/home under /) is therefore kept.
ScanRootChoice DistinctScanRoots(const std::vector<std::string>& canonicalRoots,
                                 const std::vector<std::string>& excludedFolders);

} // namespace mirelon
