#include "scan/drive_info.h"

namespace mirelon {

// Linux has no drive letters of its own: the mount table is mapped to them.
std::shared_ptr<IDriveInfo> SystemDrive(int index) {
    return MountedDrive(index, SystemMountSource());
}

} // namespace mirelon
