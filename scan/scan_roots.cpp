#include "scan/scan_roots.h"

#include "base/ascii_case.h"
#include "base/utf8_path.h"
#include "scan/directory_listing.h"

#include <algorithm>
#include <filesystem>

namespace mirelon {

namespace {

bool IsExcluded(const std::string& path, const std::vector<std::string>& excludedFolders) {
    // As the scanner compares them.
    return std::any_of(
        excludedFolders.begin(), excludedFolders.end(),
        [&](const std::string& excluded) { return EqualIgnoringAsciiCase(excluded, path); });
}

// Whether the walk of `outer` gets to the folder `inner`.
bool WalkReaches(const std::string& outer, const std::string& inner,
                 const std::vector<std::string>& excludedFolders) {
    const std::filesystem::path relative =
        PathFromUtf8(inner).lexically_relative(PathFromUtf8(outer));
    if (relative.empty() || *relative.begin() == "." || *relative.begin() == "..") {
        return false;
    }
    const auto root = DirectoryListing::OpenRoot(outer);
    if (!root || IsExcluded(outer, excludedFolders)) {
        return false;
    }
    std::filesystem::path folder = PathFromUtf8(outer);
    for (const std::filesystem::path& part : relative) {
        folder /= part;
        const auto listing = DirectoryListing::OpenRoot(Utf8FromPath(folder));
        if (!listing || listing->Identity().device != root->Identity().device ||
            IsExcluded(Utf8FromPath(folder), excludedFolders)) {
            return false;
        }
    }
    return true;
}

} // namespace

ScanRootChoice DistinctScanRoots(const std::vector<std::string>& canonicalRoots,
                                 const std::vector<std::string>& excludedFolders) {
    ScanRootChoice choice;
    for (size_t i = 0; i < canonicalRoots.size(); ++i) {
        const std::string& root = canonicalRoots[i];
        if (std::find(canonicalRoots.begin(), canonicalRoots.begin() + i, root) !=
            canonicalRoots.begin() + i) {
            choice.notes.push_back(root + " is named more than once; it is scanned once");
            continue;
        }
        // The outermost root that reaches this one, so the note names a root that is walked.
        const std::string* outer = nullptr;
        for (const std::string& other : canonicalRoots) {
            if ((outer == nullptr || other.size() < outer->size()) &&
                WalkReaches(other, root, excludedFolders)) {
                outer = &other;
            }
        }
        if (outer != nullptr) {
            choice.notes.push_back(root + " is inside " + *outer + " and is scanned with it");
            continue;
        }
        choice.roots.push_back(root);
    }
    return choice;
}

} // namespace mirelon
