#pragma once

#include "scan/mount_table.h"

#include <array>
#include <optional>

namespace mirelon {

constexpr int kDriveCount = 26; // A to Z

using DriveLetterTable = std::array<std::optional<MountEntry>, kDriveCount>;

// C is the file system at "/"; D to Z are the other mounted file systems in the order of their
// mount points; A and B stay empty. Pseudo file systems, mounts inside them, a mount of a folder
// that another mount of the same device already shows (bind mounts) and, of several mounts on
// one mount point, all but the last get no letter.
DriveLetterTable AssignDriveLetters(const std::vector<MountEntry>& mounts);

} // namespace mirelon
