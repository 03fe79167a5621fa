#pragma once

#include <cstdint>
#include <string_view>

namespace mirelon {

// Drive type numbers, as the scan run knows them from their texts.
enum DriveTypeNumber : int {
    kDriveUnknown = 0,
    kDriveNoDrive = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRam = 6,
};

// Volume feature bits, with the values the drive features are defined by.
enum VolumeFlag : uint32_t {
    kCaseSensitiveSearch = 0x1,
    kCasePreservedNames = 0x2,
    kUnicodeOnDisk = 0x4,
    kPersistentAcls = 0x8,
    kFileCompression = 0x10,
    kVolumeQuotas = 0x20,
    kSparseFiles = 0x40,
    kReparsePoints = 0x80,
    kVolumeIsCompressed = 0x8000,
    kObjectIds = 0x10000,
    kEncryption = 0x20000,
    kNamedStreams = 0x40000,
    kReadOnlyVolume = 0x80000,
};

// Kernel-internal file systems (proc, sysfs, cgroup, ...): never a drive.
bool IsPseudoFileSystem(std::string_view type);

// The drive type of a mounted file system; `isRoot` for the one at "/", which counts as a disk
// whatever its type. `removable` matters only for disks.
int DriveTypeOf(std::string_view type, bool isRoot, bool removable);

// The feature bits that apply to a file system of this type mounted with these options.
uint32_t VolumeFlagsOf(std::string_view type, std::string_view mountOptions,
                       std::string_view superOptions);

} // namespace mirelon
