// Linux only: sysfs block devices (partitions, device-mapper, md, loop) and the mount table.
#include "scan/block_device_rotation.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

namespace mirelon {
namespace {

namespace fs = std::filesystem;
using enum TStorageRotation;

// A made-up /sys: devices in their folders, /sys/dev/block and /sys/class/block linking to
// them, as the kernel lays them out.
class TFakeSysfs {
public:
    // `parent` is empty for a disk, the disk's name for a partition.
    void Device(const std::string& name, const std::string& number, const std::string& rotational,
                const std::string& parent = "") {
        const std::string folder =
            parent.empty() ? "devices/block/" + name : "devices/block/" + parent + "/" + name;
        root.Write(folder + "/dev", number + "\n");
        if (!parent.empty())
            root.Write(folder + "/partition", "1\n");
        else if (!rotational.empty())
            root.Write(folder + "/queue/rotational", rotational + "\n");
        root.MakeFolder("dev/block");
        root.MakeFolder("class/block");
        fs::create_directory_symlink("../../" + folder, root / ("dev/block/" + number));
        fs::create_directory_symlink("../../" + folder, root / ("class/block/" + name));
        folders_[name] = folder;
    }

    void Slave(const std::string& device, const std::string& slave) {
        root.MakeFolder(folders_[device] + "/slaves");
        fs::create_directory_symlink("../../../../" + folders_[slave],
                                     root / (folders_[device] + "/slaves/" + slave));
    }

    void BackingFile(const std::string& loop, const std::string& file) {
        root.Write(folders_[loop] + "/loop/backing_file", file + "\n");
    }

    TBlockDeviceRotation Rotation(const std::string& mountInfo = "") const {
        return TBlockDeviceRotation(root.Path(), mountInfo);
    }

    test::TTempFolder root;

private:
    std::map<std::string, std::string> folders_;
};

TEST(StorageRotation, PartitionsStacksAndLoopsAnswerForWhatLiesUnder) {
    TFakeSysfs sys;
    sys.Device("sda", "8:0", "1");
    sys.Device("sda1", "8:1", "", "sda");
    sys.Device("nvme0n1", "259:0", "0");
    sys.Device("nvme0n1p2", "259:2", "", "nvme0n1");
    sys.Device("vdb", "254:16", "");  // says nothing
    sys.Device("dm-0", "253:0", "0"); // an encrypted partition of the spinning disk
    sys.Slave("dm-0", "sda1");
    sys.Device("dm-1", "253:1", "1"); // a volume on the solid-state disk, flagged wrongly
    sys.Slave("dm-1", "nvme0n1p2");
    sys.Device("md0", "9:0", "0"); // a mirror of both
    sys.Slave("md0", "sda1");
    sys.Slave("md0", "nvme0n1p2");
    sys.Device("dm-2", "253:2", "0"); // no devices under it: its own flag
    sys.Device("loop0", "7:0", "1");

    const TBlockDeviceRotation rotation = sys.Rotation();
    EXPECT_EQ(rotation.OfDevice(8, 0), Rotational);
    EXPECT_EQ(rotation.OfDevice(8, 1), Rotational);
    EXPECT_EQ(rotation.OfDevice(259, 2), Solid);
    EXPECT_EQ(rotation.OfDevice(254, 16), Unknown);
    EXPECT_EQ(rotation.OfDevice(253, 0), Rotational);
    EXPECT_EQ(rotation.OfDevice(253, 1), Solid);
    EXPECT_EQ(rotation.OfDevice(9, 0), Rotational);
    EXPECT_EQ(rotation.OfDevice(253, 2), Solid);
    EXPECT_EQ(rotation.OfDevice(42, 42), Unknown); // no such device

    // A loop device answers for the drive of its file; a file gone leaves its own flag.
    sys.BackingFile("loop0", "/nowhere/image.iso (deleted)");
    EXPECT_EQ(rotation.OfDevice(7, 0), Rotational);
    test::TTempFolder files;
    const std::string image = files.Write("image.iso", "disk");
    struct stat status {};
    ASSERT_EQ(stat(image.c_str(), &status), 0);
    sys.Device("home",
               std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev)),
               "0");
    fs::remove(sys.root / "devices/block/loop0/loop/backing_file");
    sys.BackingFile("loop0", image);
    EXPECT_EQ(rotation.OfDevice(7, 0), Solid);

    // Devices under each other in a circle end, with their own flag.
    sys.Device("dm-3", "253:3", "0");
    sys.Device("dm-4", "253:4", "0");
    sys.Slave("dm-3", "dm-4");
    sys.Slave("dm-4", "dm-3");
    EXPECT_EQ(rotation.OfDevice(253, 3), Solid);
}

TEST(StorageRotation, APathFindsItsDeviceDirectlyOrThroughItsMount) {
    test::TTempFolder files;
    struct stat status {};
    ASSERT_EQ(stat(files.Path().c_str(), &status), 0);
    const std::string number =
        std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));

    TFakeSysfs sys;
    if (major(status.st_dev) != 0) {
        sys.Device("disk", number, "1");
        EXPECT_EQ(sys.Rotation().OfPath(files.Path()), Rotational);
    } else {
        // A file system numbered on its own (btrfs): the mount names the device.
        sys.Device("nvme0n1", "259:0", "0");
        const std::string mountInfo = "36 1 " + number + " / / rw - btrfs /dev/nvme0n1 rw\n";
        EXPECT_EQ(sys.Rotation(mountInfo).OfPath(files.Path()), Solid);
    }
    EXPECT_EQ(sys.Rotation().OfPath(files / "missing"), Unknown);

    // Memory and kernel file systems name no device.
    struct stat proc {};
    ASSERT_EQ(stat("/proc", &proc), 0);
    const std::string mountInfo = "22 1 " + std::to_string(major(proc.st_dev)) + ":" +
                                  std::to_string(minor(proc.st_dev)) +
                                  " / /proc rw - proc proc rw\n";
    EXPECT_EQ(sys.Rotation(mountInfo).OfPath("/proc"), Unknown);
    // Through the mount table to a device of the made-up tree.
    sys.Device("sdb", "8:16", "1");
    const std::string btrfs = "22 1 " + std::to_string(major(proc.st_dev)) + ":" +
                              std::to_string(minor(proc.st_dev)) +
                              " / /proc rw - btrfs /dev/sdb rw\n";
    EXPECT_EQ(sys.Rotation(btrfs).OfPath("/proc"), Rotational);
}

} // namespace
} // namespace mirelon
