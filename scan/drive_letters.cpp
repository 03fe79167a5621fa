#include "scan/drive_letters.h"

#include "scan/file_system_kind.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace mirelon {

namespace {

constexpr int kFirstLetter = 2; // C
constexpr std::string_view kLoopMajor = "7";

// `path` is `folder` or lies below it.
bool IsWithin(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return true;
    }
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

bool IsInsideAny(const MountEntry& mount, const std::vector<std::string_view>& folders) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](std::string_view folder) { return IsWithin(mount.mountPoint, folder); });
}

// A bind mount shows a folder that a mount of the same device with a letter already shows. A
// file system's separately mounted sub-volumes (btrfs, zfs) share a device but not their
// folders, so each keeps a letter.
bool ShowsLetteredFolder(const MountEntry& mount, const std::vector<const MountEntry*>& lettered) {
    return std::any_of(lettered.begin(), lettered.end(), [&](const MountEntry* other) {
        return other->majorMinor == mount.majorMinor && IsWithin(mount.root, other->root);
    });
}

// Loop devices have their own major number; a file system that reports a device number of its
// own (btrfs) still names the loop device as its source.
bool IsOnLoopDevice(const MountEntry& mount) {
    const std::string_view device(mount.majorMinor);
    return device.substr(0, device.find(':')) == kLoopMajor ||
           std::string_view(mount.source).starts_with("/dev/loop");
}

} // namespace

DriveLetterTable AssignDriveLetters(const std::vector<MountEntry>& mounts,
                                    const std::function<bool(const std::string&)>& isRemovable) {
    // Of several mounts on one mount point only the last, mounted on top, can be seen.
    std::map<std::string, const MountEntry*> visible;
    for (const auto& mount : mounts) {
        visible[mount.mountPoint] = &mount;
    }
    // Mounts inside a pseudo file system (a tmpfs on /sys/fs/cgroup) are part of the system.
    std::vector<std::string_view> pseudoFolders;
    for (const auto& mount : mounts) {
        if (IsPseudoFileSystem(mount.fileSystem) && mount.mountPoint != "/") {
            pseudoFolders.push_back(mount.mountPoint);
        }
    }
    // The map keeps mount point order, which puts "/" first; the fixed disks come before the rest.
    std::vector<const MountEntry*> disks, others;
    const MountEntry* root = nullptr;
    for (const auto& [mountPoint, mount] : visible) {
        if (IsPseudoFileSystem(mount->fileSystem) || IsInsideAny(*mount, pseudoFolders)) {
            continue;
        }
        if (mountPoint == "/") {
            root = mount;
        } else if (DriveTypeOf(mount->fileSystem, false, false) == kDriveFixed &&
                   !IsOnLoopDevice(*mount) && !(isRemovable && isRemovable(mount->majorMinor))) {
            disks.push_back(mount);
        } else {
            others.push_back(mount);
        }
    }
    DriveLetterTable table;
    std::vector<const MountEntry*> lettered;
    if (root != nullptr) {
        table[kFirstLetter] = *root;
        lettered.push_back(root);
    }
    int next = kFirstLetter + 1;
    for (const auto* group : {&disks, &others}) {
        for (const MountEntry* mount : *group) {
            if (next >= kDriveCount) {
                break;
            }
            if (!ShowsLetteredFolder(*mount, lettered)) {
                table[static_cast<size_t>(next++)] = *mount;
                lettered.push_back(mount);
            }
        }
    }
    return table;
}

} // namespace mirelon
