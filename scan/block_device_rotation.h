#pragma once

#include "scan/storage_rotation.h"

#include <cstdint>
#include <string>

namespace mirelon {

// The Linux side of StorageRotationOf, over a system folder and a mount table given to it, so
// that a made-up device tree can stand in for the machine's.
class TBlockDeviceRotation {
public:
    // `sysRoot` is where sysfs is mounted ("/sys"); `mountInfo` the text of
    // /proc/self/mountinfo.
    TBlockDeviceRotation(std::string sysRoot, std::string mountInfo);

    // The device of the file system that holds `path`; a file system without a device number
    // of its own (btrfs, say) is found through the device its mount names.
    TStorageRotation OfPath(const std::string& path) const;

    // A partition answers for its disk; a device-mapper or md device spins when any device
    // under it does; a loop device answers for the file behind it.
    TStorageRotation OfDevice(uint32_t major, uint32_t minor) const;

private:
    TStorageRotation OfPath(const std::string& path, int depth) const;
    TStorageRotation OfDevice(uint32_t major, uint32_t minor, int depth) const;
    TStorageRotation OfDeviceFolder(const std::string& folder, int depth) const;

    std::string sysRoot_;
    std::string mountInfo_;
};

} // namespace mirelon
