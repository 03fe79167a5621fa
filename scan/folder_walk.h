#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace mirelon {

class DirectoryListing;

class IFolderWalkEvents {
public:
    virtual ~IFolderWalkEvents() = default;
    // Full paths without a trailing separator, folders and files alike.
    virtual bool IsExcluded(const std::string& fullPath) const = 0;
    // `folderPath` ends with a path separator.
    virtual void BeforeFolder(const std::string& folderPath, bool& abort) = 0;
    // A folder of the walk's file system that could not be listed or entered, after its
    // BeforeFolder; `reason` in the system's words. Not raised for a folder that vanished.
    virtual void FolderFailed(const std::string& folderPath, const std::string& reason) = 0;
    // A regular file, or any folder when sub-folders are not descended; `name` is the last part
    // of `fullPath`, and `folder` the open folder that holds it (valid during the call only).
    virtual void FoundEntry(const std::string& fullPath, std::string_view name,
                            const DirectoryListing& folder, bool& abort) = 0;
    // A folder (ending with a separator) whose files the walk did not all see although they may be
    // there: it could not be listed or not to its end, or it lies on another file system.
    virtual void FolderLeftOut(const std::string& /*folderPath*/) {}
};

struct FolderWalkOptions {
    bool subFolders = true;
    // Whether a folder with `entryDevice` belongs to the file system of the root; empty means
    // equal device numbers.
    std::function<bool(uint64_t rootDevice, uint64_t entryDevice)> sameFileSystem;
    // Deeper than this, the shallowest open folders are read into memory and closed.
    size_t maxOpenFolders = 32;
};

// Lists `rootPath` and, depth-first, every sub-folder as soon as it is met, in the order the
// file system delivers the entries. Symbolic links are neither reported nor followed, and a
// folder on another file system than the root is passed over with only FolderLeftOut. A folder
// that cannot be listed or entered (the root included) gets its BeforeFolder, FolderFailed and
// FolderLeftOut; a root that is not there, or no folder, gets no event at all. Stops when
// `abort` becomes true.
void WalkFolderTree(const std::string& rootPath, const FolderWalkOptions& options,
                    IFolderWalkEvents& events, bool& abort);

} // namespace mirelon
