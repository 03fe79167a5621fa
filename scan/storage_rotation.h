#pragma once

#include <string>

namespace mirelon {

// What the storage under a path says of itself. Parallel reads speed up a solid-state disk and
// slow down a spinning one, whose head then seeks between the files.
enum class TStorageRotation { Unknown, Solid, Rotational };

// For the drive that holds `path`. Unknown for a network or memory file system, or a device
// that does not say; callers treat that as not rotational.
TStorageRotation StorageRotationOf(const std::string& path);

} // namespace mirelon
