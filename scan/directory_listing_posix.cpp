#include "scan/directory_listing.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

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

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

DirectoryListing::DirectoryListing(int handle, const FolderIdentity& identity)
    : handle_(handle), identity_(identity) {}

DirectoryListing::~DirectoryListing() {
    if (stream_ != nullptr) {
        ::closedir(static_cast<DIR*>(stream_)); // closes handle_ as well
    } else if (handle_ >= 0) {
        ::close(handle_);
    }
}

std::unique_ptr<DirectoryListing> DirectoryListing::Adopt(int handle) {
    if (handle < 0) {
        return nullptr;
    }
    struct stat status;
    if (::fstat(handle, &status) != 0) {
        ::close(handle);
        return nullptr;
    }
    const FolderIdentity identity{static_cast<uint64_t>(status.st_dev),
                                  static_cast<uint64_t>(status.st_ino)};
    return std::unique_ptr<DirectoryListing>(new DirectoryListing(handle, identity));
}

std::unique_ptr<DirectoryListing> DirectoryListing::OpenRoot(const std::string& path) {
    return Adopt(OpenFolderAt(AT_FDCWD, path.c_str(), 0));
}

bool DirectoryListing::IsFolder(const std::string& path) {
    struct stat status;
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::unique_ptr<DirectoryListing> DirectoryListing::OpenChild(std::string_view name) const {
    if (handle_ < 0) {
        return nullptr;
    }
    const std::string terminated(name);
    return Adopt(OpenFolderAt(handle_, terminated.c_str(), O_NOFOLLOW));
}

std::optional<FolderIdentity> DirectoryListing::ChildIdentity(std::string_view name) const {
    if (handle_ < 0) {
        return std::nullopt;
    }
    const std::string terminated(name);
    struct stat status;
    if (::fstatat(handle_, terminated.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    return FolderIdentity{static_cast<uint64_t>(status.st_dev),
                          static_cast<uint64_t>(status.st_ino)};
}

EntryKind DirectoryListing::KindOf(const char* name, unsigned char type) const {
    switch (type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_UNKNOWN: {
        struct stat status;
        if (::fstatat(handle_, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            return EntryKind::Other; // vanished meanwhile
        }
        return KindOfMode(status.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}

bool DirectoryListing::ReadNext(DirectoryEntry& entry) {
    if (stream_ == nullptr) {
        if (handle_ < 0) {
            return false;
        }
        // The stream takes the handle over; OpenChild goes on using it.
        stream_ = ::fdopendir(handle_);
        if (stream_ == nullptr) {
            return false;
        }
    }
    auto* stream = static_cast<DIR*>(stream_);
    for (;;) {
        errno = 0;
        const dirent* record = ::readdir(stream);
        if (record == nullptr) {
            return false; // the end, or a read error: either way this listing is over
        }
        if (IsDotOrDotDot(record->d_name)) {
            continue;
        }
        entry.name = record->d_name;
        entry.kind = KindOf(record->d_name, record->d_type);
        return true;
    }
}

bool DirectoryListing::Next(DirectoryEntry& entry) {
    if (!inMemory_) {
        return ReadNext(entry);
    }
    if (parkedOffset_ >= parkedNames_.size()) {
        return false;
    }
    entry.kind = static_cast<EntryKind>(parkedNames_[parkedOffset_]);
    const char* name = &parkedNames_[parkedOffset_ + 1];
    const size_t length = std::strlen(name);
    entry.name = std::string_view(name, length);
    parkedOffset_ += length + 2;
    return true;
}

void DirectoryListing::Park() {
    if (inMemory_) {
        if (handle_ >= 0) {
            ::close(handle_);
            handle_ = -1;
        }
        return;
    }
    DirectoryEntry entry;
    while (ReadNext(entry)) {
        parkedNames_.push_back(static_cast<char>(entry.kind));
        parkedNames_.insert(parkedNames_.end(), entry.name.begin(), entry.name.end());
        parkedNames_.push_back('\0');
    }
    inMemory_ = true;
    if (stream_ != nullptr) {
        ::closedir(static_cast<DIR*>(stream_));
        stream_ = nullptr;
    } else if (handle_ >= 0) {
        ::close(handle_);
    }
    handle_ = -1;
}

bool DirectoryListing::Reopen(const DirectoryListing& child) {
    if (handle_ >= 0) {
        return true;
    }
    if (child.handle_ < 0) {
        return false;
    }
    int handle;
    do {
        handle = ::openat(child.handle_, "..", kFolderFlags);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        return false;
    }
    struct stat status;
    if (::fstat(handle, &status) != 0 || static_cast<uint64_t>(status.st_dev) != identity_.device ||
        static_cast<uint64_t>(status.st_ino) != identity_.inode) {
        ::close(handle);
        return false; // moved away meanwhile: its sub-folders are no longer reachable from here
    }
    handle_ = handle;
    return true;
}

} // namespace mirelon
