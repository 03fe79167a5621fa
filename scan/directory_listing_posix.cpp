#include "scan/directory_listing.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace mirelon {

struct DirectoryListing::OpenFolder {
    int handle = -1;
    DIR* stream = nullptr; // opened on the first read; owns the handle from then on
};

void DirectoryListing::OpenFolderCloser::operator()(OpenFolder* folder) const {
    if (folder->stream != nullptr) {
        ::closedir(folder->stream); // closes the handle as well
    } else if (folder->handle >= 0) {
        ::close(folder->handle);
    }
    delete folder;
}

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Listing a folder should not count as accessing it; O_NOATIME is refused for folders the
// caller does not own, and then the folder is opened without it.
int OpenFolderAt(int parent, const char* name, int extraFlags) {
    int handle;
    do {
        handle = ::openat(parent, name, kFolderFlags | extraFlags | O_NOATIME);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0 && errno == EPERM) {
        do {
            handle = ::openat(parent, name, kFolderFlags | extraFlags);
        } while (handle < 0 && errno == EINTR);
    }
    return handle;
}

EntryKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return EntryKind::File;
    }
    if (S_ISDIR(mode)) {
        return EntryKind::Folder;
    }
    return EntryKind::Other;
}

EntryKind KindOf(int folder, const char* name, unsigned char type) {
    switch (type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_UNKNOWN: {
        struct stat status;
        if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            return EntryKind::Other; // vanished meanwhile
        }
        return KindOfMode(status.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

FolderIdentity IdentityOf(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

// Says why, in the system's words, with errno as the failing call left it.
void Fail(FolderOpenFailure* failure, int error = errno) {
    if (failure != nullptr) {
        failure->missing = error == ENOENT || error == ENOTDIR;
        failure->reason = std::system_category().message(error);
    }
}

// The identity of an open folder, read through the folder itself: a folder that may be listed
// but not entered (r--) refuses that, as it would refuse every entry's facts and content. The
// handle is closed when it has none.
std::optional<FolderIdentity> HandleIdentity(int handle, FolderOpenFailure* failure) {
    if (handle < 0) {
        Fail(failure);
        return std::nullopt;
    }
    struct stat status;
    if (::fstatat(handle, ".", &status, 0) != 0) {
        Fail(failure);
        ::close(handle);
        return std::nullopt;
    }
    return IdentityOf(status);
}

} // namespace

std::unique_ptr<DirectoryListing> DirectoryListing::OpenRoot(const std::string& path,
                                                             FolderOpenFailure* failure) {
    const int handle = OpenFolderAt(AT_FDCWD, path.c_str(), 0);
    const auto identity = HandleIdentity(handle, failure);
    if (!identity) {
        return nullptr;
    }
    return std::unique_ptr<DirectoryListing>(
        new DirectoryListing(OpenFolderPtr(new OpenFolder{handle}), *identity));
}

std::unique_ptr<DirectoryListing> DirectoryListing::OpenChild(std::string_view name,
                                                              FolderOpenFailure* failure) const {
    if (!open_) {
        Fail(failure, ENOENT); // its folder was moved away
        return nullptr;
    }
    const std::string terminated(name);
    const int handle = OpenFolderAt(open_->handle, terminated.c_str(), O_NOFOLLOW);
    const auto identity = HandleIdentity(handle, failure);
    if (!identity) {
        return nullptr;
    }
    return std::unique_ptr<DirectoryListing>(
        new DirectoryListing(OpenFolderPtr(new OpenFolder{handle}), *identity));
}

std::optional<FolderIdentity> DirectoryListing::ChildIdentity(std::string_view name) const {
    if (!open_) {
        return std::nullopt;
    }
    const std::string terminated(name);
    struct stat status;
    if (::fstatat(open_->handle, terminated.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    return IdentityOf(status);
}

FileLocation DirectoryListing::EntryLocation(std::string fullPath, std::string_view name) const {
    if (!open_) {
        return FileLocation(std::move(fullPath));
    }
    return FileLocation(std::move(fullPath), open_->handle, std::string(name), open_);
}

bool DirectoryListing::ReadNext(DirectoryEntry& entry) {
    if (!open_) {
        return false;
    }
    if (open_->stream == nullptr) {
        // The stream takes the handle over; OpenChild goes on using it.
        open_->stream = ::fdopendir(open_->handle);
        if (open_->stream == nullptr) {
            incomplete_ = true;
            return false;
        }
    }
    for (;;) {
        errno = 0;
        const dirent* record = ::readdir(open_->stream);
        if (record == nullptr) {
            // The end, or a read error: either way this listing is over.
            incomplete_ = errno != 0;
            return false;
        }
        if (IsDotOrDotDot(record->d_name)) {
            continue;
        }
        entry.name = record->d_name;
        entry.kind = KindOf(open_->handle, record->d_name, record->d_type);
        return true;
    }
}

bool DirectoryListing::Reopen(const DirectoryListing& child) {
    if (open_) {
        return true;
    }
    if (!child.open_) {
        return false;
    }
    int handle;
    do {
        handle = ::openat(child.open_->handle, "..", kFolderFlags);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        return false;
    }
    struct stat status;
    if (::fstat(handle, &status) != 0 || IdentityOf(status) != identity_) {
        ::close(handle);
        return false; // moved away meanwhile: its sub-folders are no longer reachable from here
    }
    open_ = OpenFolderPtr(new OpenFolder{handle});
    return true;
}

} // namespace mirelon
