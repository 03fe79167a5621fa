#include "scan/folder_walk.h"

#include "scan/directory_listing.h"
#include "scan/path_separator.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace mirelon {

namespace {

struct OpenFolder {
    std::unique_ptr<DirectoryListing> listing;
    size_t pathLength; // of the folder's path with its separator
};

class TreeWalk {
public:
    TreeWalk(const FolderWalkOptions& options, IFolderWalkEvents& events, bool& abort)
        : options_(options), events_(events), abort_(abort) {}

    void Run(const std::string& rootPath) {
        path_ = rootPath;
        if (path_.empty() || !IsPathSeparator(path_.back())) {
            path_ += PathSeparator();
        }
        FolderOpenFailure failure;
        auto root = DirectoryListing::OpenRoot(rootPath, &failure);
        if (!root && failure.missing) {
            return;
        }
        events_.BeforeFolder(path_, abort_);
        if (abort_) {
            return;
        }
        if (!root) {
            events_.FolderFailed(path_, failure.reason);
            events_.FolderLeftOut(path_);
            return;
        }
        rootDevice_ = root->Identity().device;
        folders_.push_back({std::move(root), path_.size()});
        while (!folders_.empty() && !abort_) {
            Step();
        }
    }

private:
    void Step() {
        OpenFolder& current = folders_.back();
        DirectoryEntry entry;
        if (!current.listing->Next(entry)) {
            if (current.listing->Incomplete()) {
                path_.resize(current.pathLength);
                events_.FolderLeftOut(path_);
            }
            LeaveFolder();
            return;
        }
        path_.resize(current.pathLength);
        path_.append(entry.name);
        if (events_.IsExcluded(path_)) {
            return;
        }
        if (entry.kind == EntryKind::Folder && options_.subFolders) {
            EnterFolder(*current.listing, entry.name);
        } else if (entry.kind != EntryKind::Other) {
            events_.FoundEntry(path_, entry.name, *current.listing, abort_);
        }
    }

    void EnterFolder(const DirectoryListing& parent, std::string_view name) {
        FolderOpenFailure failure;
        auto child = parent.OpenChild(name, &failure);
        if (!child) {
            // Its events are still due when it is a folder of this file system that is still
            // there: its files are left out, and that must be said.
            const auto identity = parent.ChildIdentity(name);
            if (identity && SameFileSystem(identity->device)) {
                path_ += PathSeparator();
                events_.BeforeFolder(path_, abort_);
                if (!abort_ && !failure.missing) {
                    events_.FolderFailed(path_, failure.reason);
                }
                events_.FolderLeftOut(path_);
            } else if (identity || !parent.Parked()) {
                // Another file system, or a folder that cannot even be looked at (or vanished
                // meanwhile, which looks the same): it may hold files.
                path_ += PathSeparator();
                events_.FolderLeftOut(path_);
            }
            return;
        }
        if (!SameFileSystem(child->Identity().device)) {
            path_ += PathSeparator();
            events_.FolderLeftOut(path_); // another drive
            return;
        }
        if (IsOnCurrentPath(child->Identity())) {
            return; // a bind mount of a folder into its own sub-tree
        }
        path_ += PathSeparator();
        events_.BeforeFolder(path_, abort_);
        if (abort_) {
            return;
        }
        folders_.push_back({std::move(child), path_.size()});
        if (folders_.size() - firstOpen_ > std::max<size_t>(options_.maxOpenFolders, 1)) {
            folders_[firstOpen_].listing->Park();
            ++firstOpen_;
        }
    }

    void LeaveFolder() {
        const size_t top = folders_.size() - 1;
        if (top > 0 && top - 1 < firstOpen_) {
            // A failed reopen leaves the parent's own files reachable by name, but not its
            // sub-folders; those are passed over like folders that vanished.
            OpenFolder& parent = folders_[top - 1];
            if (!parent.listing->Reopen(*folders_[top].listing)) {
                path_.resize(parent.pathLength);
                events_.FolderLeftOut(path_);
            }
            firstOpen_ = top - 1;
        }
        folders_.pop_back();
    }

    bool SameFileSystem(uint64_t device) const {
        return options_.sameFileSystem ? options_.sameFileSystem(rootDevice_, device)
                                       : device == rootDevice_;
    }

    bool IsOnCurrentPath(const FolderIdentity& identity) const {
        return std::any_of(folders_.begin(), folders_.end(), [&](const OpenFolder& folder) {
            return folder.listing->Identity() == identity;
        });
    }

    const FolderWalkOptions& options_;
    IFolderWalkEvents& events_;
    bool& abort_;
    std::string path_; // the current folder's path, then the current entry's
    uint64_t rootDevice_ = 0;
    std::vector<OpenFolder> folders_;
    size_t firstOpen_ = 0; // folders before this one are parked
};

} // namespace

void WalkFolderTree(const std::string& rootPath, const FolderWalkOptions& options,
                    IFolderWalkEvents& events, bool& abort) {
    TreeWalk(options, events, abort).Run(rootPath);
}

} // namespace mirelon
