#pragma once

#include <string>
#include <vector>

namespace mirelon {

class TcxDriveInfo;

// A drive of the drive table as the folder tree and the exclusion list see it.
struct TDriveRoot {
    // The root without a trailing separator unless it is a root of its own ("/", "C:\"): the
    // path of its tree item.
    std::string Path;
    // The drive's root as the scan walks it, with the trailing separator; an excluded drive must be
    // listed in this form, because the scanner compares its walk root unchanged.
    std::string ScanPath;
    // "Label (D:)", or the mount point when the volume has no label.
    std::string DisplayName;
};

// Every drive the table has, in letter order.
std::vector<TDriveRoot> DriveRoots(const TcxDriveInfo& drives);

} // namespace mirelon
