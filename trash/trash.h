#pragma once

#include <string>

namespace mirelon {

// What became of one file handed to the trash or deleted.
struct TrashOutcome {
    bool done = false;
    // Why not, in words, when not done.
    std::string reason;
};

// Moves the file (a symbolic link itself, never a folder) to the desktop trash the way file
// managers do, so it can be restored from there: on Linux the user's home trash, or the trash at
// the top of the file's own file system when it lies on another one; on Windows the Recycle Bin.
// Either the file is in the trash with the record of where it came from, or nothing changed.
TrashOutcome MoveToTrash(const std::string& path);

// Deletes the file (a symbolic link itself, never a folder) for good.
TrashOutcome DeletePermanently(const std::string& path);

} // namespace mirelon
