#include "scan/file_system_kind.h"

#include "scan/mount_table.h"

#include <algorithm>

namespace mirelon {

namespace {

bool IsOneOf(std::string_view type, std::initializer_list<std::string_view> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool IsDiskFileSystem(std::string_view type) {
    return IsOneOf(type, {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "zfs", "vfat",
                          "msdos", "exfat", "ntfs", "ntfs3", "fuseblk", "reiserfs", "hfs",
                          "hfsplus", "nilfs2", "bcachefs"});
}

bool IsNetworkFileSystem(std::string_view type) {
    return IsOneOf(type, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p",
                          "coda", "glusterfs", "lustre", "davfs", "sshfs", "fuse.sshfs",
                          "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.cephfs"});
}

bool IsUnixFileSystem(std::string_view type) {
    return IsOneOf(type, {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "zfs", "reiserfs",
                          "nilfs2", "bcachefs", "tmpfs", "ramfs", "overlay", "nfs", "nfs4", "ceph",
                          "9p", "squashfs"});
}

bool IsNtfs(std::string_view type) {
    return IsOneOf(type, {"ntfs", "ntfs3", "fuseblk"});
}

} // namespace

bool IsPseudoFileSystem(std::string_view type) {
    return IsOneOf(type, {"proc",
                          "sysfs",
                          "devtmpfs",
                          "devpts",
                          "cgroup",
                          "cgroup2",
                          "securityfs",
                          "debugfs",
                          "tracefs",
                          "pstore",
                          "bpf",
                          "mqueue",
                          "hugetlbfs",
                          "configfs",
                          "fusectl",
                          "autofs",
                          "binfmt_misc",
                          "nsfs",
                          "efivarfs",
                          "rpc_pipefs",
                          "selinuxfs",
                          "devfs",
                          "usbfs",
                          "xenfs",
                          "sockfs",
                          "pipefs",
                          "anon_inodefs",
                          "cpuset",
                          "rootfs",
                          "fuse.lxcfs",
                          "fuse.gvfsd-fuse",
                          "fuse.portal",
                          "nfsd",
                          "oprofilefs"});
}

int DriveTypeOf(std::string_view type, bool isRoot, bool removable) {
    if (isRoot || IsDiskFileSystem(type)) {
        return removable ? kDriveRemovable : kDriveFixed;
    }
    if (IsOneOf(type, {"iso9660", "udf"})) {
        return kDriveCdRom;
    }
    if (IsNetworkFileSystem(type)) {
        return kDriveRemote;
    }
    if (IsOneOf(type, {"tmpfs", "ramfs"})) {
        return kDriveRam;
    }
    return kDriveUnknown;
}

uint32_t VolumeFlagsOf(std::string_view type, std::string_view mountOptions,
                       std::string_view superOptions) {
    uint32_t flags = 0;
    const bool caseFolding = IsOneOf(type, {"vfat", "msdos", "exfat", "cifs", "smb3", "smbfs"});
    if (!caseFolding) {
        flags |= kCaseSensitiveSearch;
    }
    if (type != "msdos") {
        flags |= kCasePreservedNames; // 8.3-only FAT upper-cases every name
    }
    if (IsNtfs(type) || IsOneOf(type, {"vfat", "exfat", "udf", "cifs", "smb3", "iso9660"})) {
        flags |= kUnicodeOnDisk;
    }
    if ((IsUnixFileSystem(type) || IsNtfs(type)) && !HasMountOption(superOptions, "noacl")) {
        flags |= kPersistentAcls;
    }
    if (IsNtfs(type) || IsOneOf(type, {"btrfs", "zfs", "f2fs"})) {
        flags |= kFileCompression;
    }
    for (const std::string_view quota : {"quota", "usrquota", "grpquota", "prjquota"}) {
        if (HasMountOption(superOptions, quota) || HasMountOption(mountOptions, quota)) {
            flags |= kVolumeQuotas;
        }
    }
    if (IsUnixFileSystem(type) || IsNtfs(type)) {
        flags |= kSparseFiles | kReparsePoints; // holes; symbolic links
    }
    if (type == "squashfs" ||
        (type == "btrfs" && (superOptions.find("compress") != std::string_view::npos))) {
        flags |= kVolumeIsCompressed;
    }
    if (IsNtfs(type)) {
        flags |= kObjectIds | kNamedStreams;
    }
    if (IsOneOf(type, {"ext4", "f2fs", "ubifs"})) {
        flags |= kEncryption;
    }
    if (HasMountOption(mountOptions, "ro") || HasMountOption(superOptions, "ro") ||
        IsOneOf(type, {"iso9660", "squashfs"})) {
        flags |= kReadOnlyVolume;
    }
    return flags;
}

} // namespace mirelon
