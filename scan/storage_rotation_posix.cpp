#include "scan/storage_rotation.h"

#include "scan/block_device_rotation.h"

#include <fstream>
#include <iterator>

namespace mirelon {

TStorageRotation StorageRotationOf(const std::string& path) {
    std::ifstream in("/proc/self/mountinfo");
    std::string mountInfo((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return TBlockDeviceRotation("/sys", std::move(mountInfo)).OfPath(path);
}

} // namespace mirelon
