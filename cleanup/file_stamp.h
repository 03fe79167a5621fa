#pragma once

#include <cstdint>
#include <string>

namespace mirelon {

// What tells one version of a file from another without reading it: where it lives (device
// and inode, or volume and file index), its size, and its modification and status-change times
// to the nanosecond. Equal stamps mean the file was not written since.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` (a link itself, not what it points to). False, with the
// reason in words, when it is gone or no regular file.
bool ReadFileStamp(const std::string& path, FileStamp& stamp, std::string& reason);

} // namespace mirelon
