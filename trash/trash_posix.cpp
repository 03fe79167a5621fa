#include "trash/trash.h"

#include "base/system_error_text.h"
#include "trash/trash_info.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mirelon {

namespace {

// Entries tried per trash folder before giving up on a free name.
constexpr int kNameAttempts = 10000;

TrashOutcome Failed(std::string reason) {
    return {false, std::move(reason)};
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

// $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash. A relative XDG_DATA_HOME counts as
// not set, as the base directory rules say.
std::string HomeTrashFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        return Joined(data, "Trash");
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : Joined(home, ".local/share/Trash");
}

// The device of the folder, or of its nearest existing ancestor, since the home trash is made
// only when first used.
bool DeviceOfNearest(std::string folder, dev_t& device) {
    struct stat facts {};
    while (::stat(folder.c_str(), &facts) != 0) {
        if (errno != ENOENT || folder == "/") {
            return false;
        }
        folder = ParentOf(folder);
    }
    device = facts.st_dev;
    return true;
}

// The top folder of the file system that holds the (canonical) folder: its highest ancestor on
// the same device.
std::string TopFolderOf(std::string folder, dev_t device) {
    while (folder != "/") {
        const std::string parent = ParentOf(folder);
        struct stat facts {};
        if (::stat(parent.c_str(), &facts) != 0 || facts.st_dev != device) {
            break;
        }
        folder = parent;
    }
    return folder;
}

// Makes the folder (mode 0700) unless there. Empty when it is a folder now; else why not.
std::string MakePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) {
        return {};
    }
    const int error = errno;
    struct stat facts {};
    if (error == EEXIST && ::stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) {
        return {};
    }
    return "cannot make the trash folder " + path + ": " + SystemErrorText(error);
}

std::string MakeFolderWithParents(const std::string& path) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) {
        return {};
    }
    if (path != "/") {
        if (std::string problem = MakeFolderWithParents(ParentOf(path)); !problem.empty()) {
            return problem;
        }
    }
    return MakePrivateFolder(path);
}

std::string MakeFilesAndInfo(const std::string& trash) {
    std::string problem = MakePrivateFolder(trash + "/files");
    return problem.empty() ? MakePrivateFolder(trash + "/info") : problem;
}

bool IsOwnFolder(const std::string& path) {
    struct stat facts {};
    return ::lstat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode) &&
           facts.st_uid == ::getuid();
}

// Where a file on another file system than the home goes: $top/.Trash/$uid when the
// administrator made $top/.Trash (a real folder with the sticky bit, so users cannot take each
// other's entries), else $top/.Trash-$uid, made when missing and used only when it is the
// user's own folder.
std::string PrepareVolumeTrash(const std::string& top, std::string& trash) {
    const std::string uid = std::to_string(::getuid());
    const std::string shared = Joined(top, ".Trash");
    struct stat facts {};
    if (::lstat(shared.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode) &&
        (facts.st_mode & S_ISVTX) != 0) {
        trash = Joined(shared, uid);
        if (MakePrivateFolder(trash).empty() && IsOwnFolder(trash) &&
            MakeFilesAndInfo(trash).empty()) {
            return {};
        }
    }
    trash = Joined(top, ".Trash-" + uid);
    if (std::string problem = MakePrivateFolder(trash); !problem.empty()) {
        return problem;
    }
    if (!IsOwnFolder(trash)) {
        return "the trash folder " + trash + " is not a folder of this user";
    }
    return MakeFilesAndInfo(trash);
}

std::string DeletionDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool WriteAll(int handle, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(handle, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// Renames unless the target exists. File systems without an atomic way to refuse are checked
// just before a plain rename.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    struct stat facts {};
    if (::lstat(to.c_str(), &facts) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

enum class Placing { Done, TryAnotherTrash, Failed };

// One entry in the trash folder: the record is written first under a name nobody holds
// (O_EXCL), then the file is renamed into files/ under the same name; a failed rename takes the
// record back, so no entry is ever half made.
Placing PlaceInTrash(const std::string& path, const std::string& name, const std::string& trash,
                     const std::string& recordedPath, std::string& reason) {
    const std::string record = TrashInfoText(recordedPath, DeletionDateNow());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string entry = TrashEntryName(name, attempt);
        const std::string info = trash + "/info/" + entry + std::string(kTrashInfoSuffix);
        const int handle =
            ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (handle < 0) {
            if (errno == EEXIST) {
                continue;
            }
            reason = "cannot write in the trash folder " + trash + ": " + SystemErrorText(errno);
            return Placing::TryAnotherTrash;
        }
        const std::string target = trash + "/files/" + entry;
        struct stat facts {};
        if (::lstat(target.c_str(), &facts) == 0) {
            ::close(handle);
            ::unlink(info.c_str());
            continue;
        }
        const bool written = WriteAll(handle, record) && ::fsync(handle) == 0;
        const int writeError = errno;
        if (::close(handle) != 0 || !written) {
            reason = "cannot write the trash record " + info + ": " +
                     SystemErrorText(written ? errno : writeError);
            ::unlink(info.c_str());
            return Placing::Failed;
        }
        if (RenameNoReplace(path, target) == 0) {
            return Placing::Done;
        }
        const int error = errno;
        ::unlink(info.c_str());
        if (error == EEXIST) {
            continue;
        }
        // The record went into the trash folder, so a refusal comes from the file's own folder
        // (read-only, or sticky and someone else's).
        reason =
            error == EACCES || error == EPERM || error == EROFS
                ? "cannot move it out of its folder " + ParentOf(path) + ": " +
                      SystemErrorText(error)
                : "cannot move it into the trash folder " + trash + ": " + SystemErrorText(error);
        return error == EXDEV ? Placing::TryAnotherTrash : Placing::Failed;
    }
    reason = "no free name for it in the trash folder " + trash;
    return Placing::Failed;
}

// The file's full path with its folder made canonical (the file itself may be a link and is
// kept as it is). Empty when the folder cannot be resolved; `reason` then says why.
std::string CanonicalPath(const std::string& path, std::string& name, std::string& folder,
                          std::string& reason) {
    std::string absolute = path;
    if (path.front() != '/') {
        std::vector<char> current(PATH_MAX + 1);
        if (::getcwd(current.data(), current.size()) == nullptr) {
            reason = "cannot tell the current folder: " + SystemErrorText(errno);
            return {};
        }
        absolute = Joined(current.data(), path);
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back();
    }
    name = absolute.substr(absolute.find_last_of('/') + 1);
    if (name.empty() || name == "." || name == "..") {
        reason = "names no file";
        return {};
    }
    char* resolved = ::realpath(ParentOf(absolute).c_str(), nullptr);
    if (resolved == nullptr) {
        reason = SystemErrorText(errno);
        return {};
    }
    folder = resolved;
    std::free(resolved);
    return Joined(folder, name);
}

// The file as lstat sees it; a reason when it is gone or a folder.
std::string CheckIsFile(const std::string& path, struct stat& facts) {
    if (path.empty()) {
        return "names no file";
    }
    if (::lstat(path.c_str(), &facts) != 0) {
        return SystemErrorText(errno);
    }
    if (S_ISDIR(facts.st_mode)) {
        return "is a folder, not a file";
    }
    return {};
}

} // namespace

TrashOutcome MoveToTrash(const std::string& path) {
    struct stat facts {};
    if (std::string problem = CheckIsFile(path, facts); !problem.empty()) {
        return Failed(problem);
    }
    std::string name, folder, reason;
    const std::string original = CanonicalPath(path, name, folder, reason);
    if (original.empty()) {
        return Failed(reason);
    }

    // The home trash takes files of its own file system and records their full paths; any
    // other file goes to its file system's trash, which records paths from the top folder, so
    // that the entries still mean something when that disk is mounted elsewhere.
    const std::string homeTrash = HomeTrashFolder();
    dev_t homeDevice = 0;
    if (!homeTrash.empty() && DeviceOfNearest(ParentOf(homeTrash), homeDevice) &&
        homeDevice == facts.st_dev) {
        reason = MakeFolderWithParents(homeTrash);
        if (reason.empty()) {
            reason = MakeFilesAndInfo(homeTrash);
        }
        if (reason.empty()) {
            switch (PlaceInTrash(original, name, homeTrash, original, reason)) {
            case Placing::Done:
                return {true, {}};
            case Placing::Failed:
                return Failed(reason);
            case Placing::TryAnotherTrash:
                break;
            }
        }
    }

    const std::string top = TopFolderOf(folder, facts.st_dev);
    std::string volumeTrash;
    if (std::string problem = PrepareVolumeTrash(top, volumeTrash); !problem.empty()) {
        return Failed(reason.empty() ? "no usable trash folder on its file system (" + problem + ")"
                                     : reason);
    }
    const std::string relative = original.substr(top == "/" ? 1 : top.size() + 1);
    std::string volumeReason;
    if (PlaceInTrash(original, name, volumeTrash, relative, volumeReason) == Placing::Done) {
        return {true, {}};
    }
    return Failed(volumeReason);
}

TrashOutcome DeletePermanently(const std::string& path) {
    struct stat facts {};
    if (std::string problem = CheckIsFile(path, facts); !problem.empty()) {
        return Failed(problem);
    }
    if (::unlink(path.c_str()) != 0) {
        return Failed(SystemErrorText(errno));
    }
    return {true, {}};
}

} // namespace mirelon
