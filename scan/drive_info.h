#pragma once

#include "scan/mount_table.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mirelon {

// Every object below is created afresh by the call that hands it out.

struct IDiskBoolean {
    virtual ~IDiskBoolean() = default;
    virtual bool Value() const = 0;
    virtual std::string YesNo() const = 0;
    virtual std::string OnOff() const = 0;
};

// 0 "Unknown", 1 "No Drive", 2 "Removable", 3 "Fixed", 4 "Remote", 5 "CdRom", 6 "Ram".
struct IDriveType {
    virtual ~IDriveType() = default;
    virtual int Number() const = 0;
    virtual std::string Text() const = 0;
};

struct IDiskHugeNumber {
    virtual ~IDiskHugeNumber() = default;
    virtual int64_t Value() const = 0;
    // "N bytes", "N Kb", "N Mb" or "N.NN Gb", digits grouped as the user's locale does.
    virtual std::string Text() const = 0;
};

struct IDriveSpace {
    virtual ~IDriveSpace() = default;
    virtual std::shared_ptr<IDiskHugeNumber> FreeAvailable() const = 0;
    virtual std::shared_ptr<IDiskHugeNumber> Total() const = 0;
    virtual std::shared_ptr<IDiskHugeNumber> TotalFree() const = 0;
    virtual std::shared_ptr<IDiskHugeNumber> Used() const = 0;
};

struct IDriveFeatures {
    virtual ~IDriveFeatures() = default;
    virtual std::shared_ptr<IDiskBoolean> NamedStreams() const = 0;
    virtual std::shared_ptr<IDiskBoolean> ReadOnlyVolume() const = 0;
    virtual std::shared_ptr<IDiskBoolean> ObjectIds() const = 0;
    virtual std::shared_ptr<IDiskBoolean> ReparsePoints() const = 0;
    virtual std::shared_ptr<IDiskBoolean> SparseFiles() const = 0;
    virtual std::shared_ptr<IDiskBoolean> VolumeQuotas() const = 0;
    virtual std::shared_ptr<IDiskBoolean> CasePreservedNames() const = 0;
    virtual std::shared_ptr<IDiskBoolean> CaseSensitiveSearch() const = 0;
    virtual std::shared_ptr<IDiskBoolean> FileCompression() const = 0;
    virtual std::shared_ptr<IDiskBoolean> Encryption() const = 0;
    virtual std::shared_ptr<IDiskBoolean> PersistentAcls() const = 0;
    virtual std::shared_ptr<IDiskBoolean> UnicodeOnDisk() const = 0;
    virtual std::shared_ptr<IDiskBoolean> VolumeIsCompressed() const = 0;
};

struct IDriveShellInfo {
    virtual ~IDriveShellInfo() = default;
    virtual int64_t Icon() const = 0;
    virtual int IconIndex() const = 0;
    virtual std::string DisplayName() const = 0; // e.g. "Data (D:)"
    virtual std::string TypeName() const = 0;    // e.g. "Local Disk"
};

struct IDriveInfo {
    virtual ~IDriveInfo() = default;
    virtual std::shared_ptr<IDiskBoolean> Exists() const = 0;
    virtual std::shared_ptr<IDriveType> DriveType() const = 0;
    virtual int Index() const = 0;
    virtual std::string Letter() const = 0;
    virtual std::string RootPath() const = 0; // with a trailing separator: "/mnt/", "D:\\"
    virtual std::string VolumeName() const = 0;
    virtual std::shared_ptr<IDriveFeatures> Features() const = 0;
    virtual std::shared_ptr<IDriveSpace> Space() const = 0;
    virtual std::string SerialNumber() const = 0;
    virtual std::shared_ptr<IDriveShellInfo> ShellInfo() const = 0;
    virtual std::string FileSystem() const = 0;
    virtual bool ShowProperties() const = 0; // no property sheet here: false
};

// Where the drive table comes from: the system, or a test's own mount table.
class IMountSource {
public:
    virtual ~IMountSource();
    virtual std::string MountInfoText() const = 0;
    // Whether the block device "major:minor" (or the disk it is a partition of) is removable.
    virtual bool IsRemovable(const std::string& majorMinor) const = 0;
    virtual std::string Label(const MountEntry& mount) const;
    virtual std::string Uuid(const MountEntry& mount) const;
    // Bytes in all, free, and free for the calling user; false when the query fails.
    virtual bool Space(const std::string& mountPoint, uint64_t& total, uint64_t& free,
                       uint64_t& available) const;
};

// /proc/self/mountinfo, sysfs, /dev/disk/by-label and by-uuid, statvfs (Linux only).
std::shared_ptr<const IMountSource> SystemMountSource();

// The drive of an index in the letter table made from a mount table, read at each call.
std::shared_ptr<IDriveInfo> MountedDrive(int index, std::shared_ptr<const IMountSource> source);

// The drive of an index in the system's own drive table: on Linux the mount table mapped to
// letters, on Windows the real drives.
std::shared_ptr<IDriveInfo> SystemDrive(int index);

// Makes the drive object of an index.
using DriveMaker = std::function<std::shared_ptr<IDriveInfo>(int index)>;

// Hands out the drive of an index 0 (A) to 25 (Z): from the system's drive table, from the given
// mount table, or from drives of a test's own making.
class TcxDriveInfo {
public:
    TcxDriveInfo() = default;
    explicit TcxDriveInfo(std::shared_ptr<const IMountSource> source);
    explicit TcxDriveInfo(DriveMaker maker);
    std::shared_ptr<IDriveInfo> Drive(int index) const;

private:
    DriveMaker maker_; // none: the system's drive table
};

} // namespace mirelon
