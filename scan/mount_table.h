#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// One line of the kernel's mount table (/proc/self/mountinfo), escapes decoded.
struct MountEntry {
    int mountId = 0;
    int parentId = 0;
    std::string majorMinor;   // the file system's device, e.g. "8:1"
    std::string root;         // the folder of that file system seen at the mount point
    std::string mountPoint;   // absolute path
    std::string mountOptions; // of this mount, e.g. "rw,relatime"
    std::string fileSystem;   // type, e.g. "ext4" or "fuse.sshfs"
    std::string source;       // e.g. "/dev/sda1", "server:/export"
    std::string superOptions; // of the file system as a whole
};

// Lines that do not have the mountinfo form are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Undoes the kernel's octal escapes ("\040" for a blank, "\011", "\012", "\134").
std::string DecodeMountField(std::string_view field);

// True when `option` is one of the comma-separated entries of `options`.
bool HasMountOption(std::string_view options, std::string_view option);

} // namespace mirelon
