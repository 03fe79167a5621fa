#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// Symbolic links, pipes, sockets and devices are all `Other`: the walk neither reports nor
// follows them.
enum class EntryKind { File, Folder, Other };

struct FolderIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

struct DirectoryEntry {
    std::string_view name; // valid until the next call of Next
    EntryKind kind = EntryKind::Other;
};

// One open folder read entry by entry. Sub-folders are opened relative to it, never by
// re-resolving a full path, so the depth of a tree is not limited by the platform's path length.
class DirectoryListing {
public:
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // The walk's root; a symbolic link given as the root is followed. Null when it cannot be read.
    static std::unique_ptr<DirectoryListing> OpenRoot(const std::string& path);
    static bool IsFolder(const std::string& path);

    // Null when `name` is not a folder (links are not followed) or cannot be listed.
    std::unique_ptr<DirectoryListing> OpenChild(std::string_view name) const;
    // The identity of a sub-folder that could not be opened; empty when it is no folder.
    std::optional<FolderIdentity> ChildIdentity(std::string_view name) const;

    // Skips "." and "..". False at the end of the listing.
    bool Next(DirectoryEntry& entry);

    const FolderIdentity& Identity() const { return identity_; }

    // Reads the rest of the listing into memory and closes the handle, so that a deep walk
    // keeps only a bounded number of folders open. Next goes on from memory afterwards.
    void Park();
    bool Parked() const { return handle_ < 0; }
    // Opens a parked folder again through the ".." of one of its sub-folders; false (and the
    // folder stays closed) when that is no longer the same folder.
    bool Reopen(const DirectoryListing& child);

private:
    DirectoryListing(int handle, const FolderIdentity& identity);
    static std::unique_ptr<DirectoryListing> Adopt(int handle);
    bool ReadNext(DirectoryEntry& entry);
    EntryKind KindOf(const char* name, unsigned char type) const;

    int handle_ = -1;
    void* stream_ = nullptr; // the platform's listing stream, opened on the first read
    FolderIdentity identity_;
    bool inMemory_ = false;
    std::vector<char> parkedNames_; // zero-terminated names, each preceded by its kind
    size_t parkedOffset_ = 0;
};

} // namespace mirelon
