#pragma once

#include "base/file_location.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// Symbolic links, pipes, sockets and devices (on Windows every reparse point: links, junctions
// and mounted folders) are all `Other`: the walk neither reports nor follows them.
enum class EntryKind { File, Folder, Other };

// Which folder it is, whatever path leads there: the device and inode numbers on Linux, the
// volume serial number and file index on Windows.
struct FolderIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// Why a folder could not be opened for listing.
struct FolderOpenFailure {
    bool missing = false; // it is not there (any more), or it is no folder
    std::string reason;   // the system's words: "Permission denied"
};

struct DirectoryEntry {
    std::string_view name; // valid until the next call of Next
    EntryKind kind = EntryKind::Other;
};

// One open folder read entry by entry. On Linux sub-folders are opened relative to it, never by
// re-resolving a full path, so the depth of a tree is not limited by the platform's path length;
// on Windows they are opened by full paths in the long form, which lifts the limit of 260.
class DirectoryListing {
public:
    ~DirectoryListing() = default;
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // The walk's root; a symbolic link given as the root is followed. Null when it cannot be
    // listed, or cannot be entered to read its entries; then `failure`, if given, says why.
    static std::unique_ptr<DirectoryListing> OpenRoot(const std::string& path,
                                                      FolderOpenFailure* failure = nullptr);

    // Null when `name` is not a folder (links are not followed), or cannot be listed or entered;
    // then `failure`, if given, says why.
    std::unique_ptr<DirectoryListing> OpenChild(std::string_view name,
                                                FolderOpenFailure* failure = nullptr) const;
    // The identity of a sub-folder that could not be opened; empty when it is no folder.
    std::optional<FolderIdentity> ChildIdentity(std::string_view name) const;

    // Skips "." and "..". False at the end of the listing.
    bool Next(DirectoryEntry& entry);
    // After Next gave false: whether the listing ended on a read error before its true end.
    bool Incomplete() const { return incomplete_; }

    const FolderIdentity& Identity() const { return identity_; }

    // Where the entry `name` of this folder, at `fullPath`, is read from: on Linux the open
    // folder and the name, so that a path longer than the system takes still leads to it, and the
    // location keeps the folder open for as long as it is kept (a worker of a parallel scan,
    // say); on Windows, whose long path form has no such limit, and while parked, its full path.
    FileLocation EntryLocation(std::string fullPath, std::string_view name) const;

    // Reads the rest of the listing into memory and closes the folder, so that a deep walk
    // keeps only a bounded number of folders open. Next goes on from memory afterwards.
    void Park();
    bool Parked() const { return open_ == nullptr; }
    // Opens a parked folder again through the ".." of one of its sub-folders; false (and the
    // folder stays closed) when that is no longer the same folder.
    bool Reopen(const DirectoryListing& child);

private:
    struct OpenFolder; // the platform's open folder and its listing
    struct OpenFolderCloser {
        void operator()(OpenFolder* folder) const;
    };
    using OpenFolderPtr = std::unique_ptr<OpenFolder, OpenFolderCloser>;

    DirectoryListing(OpenFolderPtr open, const FolderIdentity& identity);
    bool ReadNext(DirectoryEntry& entry);

    std::shared_ptr<OpenFolder> open_; // shared with the locations of its entries
    FolderIdentity identity_;
    bool inMemory_ = false;
    bool incomplete_ = false;
    std::vector<char> parkedNames_; // zero-terminated names, each preceded by its kind
    size_t parkedOffset_ = 0;
};

} // namespace mirelon
