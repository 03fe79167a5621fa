#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace mirelon {

// A file as the readers take it: by its full path, or, as a walk finds it, by the open folder
// that holds it and its name there. Through the folder a file is reached however long its full
// path (Linux refuses paths of more than 4096 bytes); where the platform reaches every path by
// its full form (Windows, whose long form has no such limit), the folder is left out.
struct FileLocation {
    static constexpr intptr_t kNoFolder = -1;

    FileLocation(std::string fullPath) : path(std::move(fullPath)) {}
    FileLocation(const char* fullPath) : path(fullPath) {}
    // `folderHandle` must stay open while the location is used: `hold`, if given, keeps it so.
    FileLocation(std::string fullPath, intptr_t folderHandle, std::string nameInFolder,
                 std::shared_ptr<const void> hold = {})
        : path(std::move(fullPath)), folder(folderHandle), name(std::move(nameInFolder)),
          folderHold(std::move(hold)) {}

    bool HasFolder() const { return folder >= 0; }

    std::string path;            // the full path, always there: for messages, and when no folder
    intptr_t folder = kNoFolder; // the platform's handle of the open folder
    std::string name;            // the file's name in that folder
    std::shared_ptr<const void> folderHold; // whatever keeps that folder open
};

} // namespace mirelon
