#pragma once

#include <string>
#include <string_view>

namespace mirelon {

struct TrsFileReadResult {
    bool exists = false;
    // Empty when the whole file was read; otherwise the system's text for what went wrong.
    std::string error;
};

// Appends the file's bytes to text. A file that cannot be read to its end leaves what was read
// before the failure; anything but a regular file is not read, so a pipe never blocks.
TrsFileReadResult ReadWholeFile(const std::string& path, std::string& text);

// Replaces the file in one step: the bytes go to a new file in the same folder, reach the disk,
// and only then take the old name. On failure the old file is untouched, the new one is removed
// and EFCreateError says "Cannot create file "<path>". <system's error text>".
void ReplaceFile(const std::string& path, std::string_view contents);

struct TrsRenameResult {
    // The file's new name; empty when it could not be renamed.
    std::string path;
    // The system's text for why not.
    std::string error;
};

// Renames the file to `path` + `suffix` beside it or, when that name is taken, to the first free
// one of `path` + ".2" + `suffix`, ".3" and on; never replaces another file.
TrsRenameResult RenameBeside(const std::string& path, std::string_view suffix);

} // namespace mirelon
