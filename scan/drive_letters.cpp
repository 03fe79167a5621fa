#include "scan/drive_letters.h"

#include "scan/file_system_kind.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace mirelon {

namespace {

constexpr int kFirstLetter = 2; // C

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

} // namespace

DriveLetterTable AssignDriveLetters(const std::vector<MountEntry>& mounts) {
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
    std::vector<const MountEntry*> candidates;
    for (const auto& [mountPoint, mount] : visible) {
        if (!IsPseudoFileSystem(mount->fileSystem) && !IsInsideAny(*mount, pseudoFolders)) {
            candidates.push_back(mount);
        }
    }
    // The map keeps mount point order, which puts "/" first.
    DriveLetterTable table;
    std::vector<const MountEntry*> lettered;
    int next = kFirstLetter;
    for (const MountEntry* mount : candidates) {
        if (next == kFirstLetter && mount->mountPoint != "/") {
            ++next; // no root file system in the table: C stays empty
        }
        if (next >= kDriveCount) {
            break;
        }
        if (!ShowsLetteredFolder(*mount, lettered)) {
            table[static_cast<size_t>(next++)] = *mount;
            lettered.push_back(mount);
        }
    }
    return table;
}

} // namespace mirelon
