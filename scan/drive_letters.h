#pragma once

#include "scan/mount_table.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace mirelon {

constexpr int kDriveCount = 26; // A to Z

using DriveLetterTable = std::array<std::optional<MountEntry>, kDriveCount>;

// C is the file system at "/"; D onwards go first to the fixed disks that are no loop device
// (an image file mounted, as snap packages are), in the order of their mount points, then to the
// other mounted file systems in that order, so that many image mounts never leave a real disk
// without a letter; A and B stay empty. Pseudo file systems, mounts inside them, a mount of a
// folder that another mount of the same device already shows (bind mounts) and, of several
// mounts on one mount point, all but the last get no letter. `isRemovable` tells of a device
// "major:minor" whether it is removable; none means no device is.
DriveLetterTable
AssignDriveLetters(const std::vector<MountEntry>& mounts,
                   const std::function<bool(const std::string& majorMinor)>& isRemovable = {});

} // namespace mirelon
