#include "scan/drive_info.h"

#include "tests/support/fake_mount_source.h"

#include <gtest/gtest.h>

#include <map>

namespace mirelon {
namespace {

using test::FakeMountSource;

constexpr const char* kDesktop =
    "21 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "22 21 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "23 21 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 21 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8012345k,mode=755\n"
    "25 24 0:22 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,mode=620\n"
    "26 21 0:23 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,mode=755\n"
    "27 24 0:24 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw\n"
    "28 22 0:25 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw\n"
    "29 21 259:1 / /boot/efi rw,relatime shared:30 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "30 21 259:3 / /home rw,relatime shared:31 - ext4 /dev/nvme0n1p3 rw,usrquota\n"
    "31 21 0:26 / /tmp rw,nosuid,nodev shared:32 - tmpfs tmpfs rw,size=8012345k\n"
    "32 26 0:27 / /run/user/1000 rw,nosuid,nodev,relatime shared:400 - tmpfs tmpfs rw,mode=700\n"
    "33 21 8:17 / /media/ann/USB\\040STICK rw,nosuid,nodev,relatime shared:410 - vfat /dev/sdb1 "
    "rw,uid=1000,gid=1000,shortname=mixed\n"
    "34 21 11:0 / /media/ann/Ubuntu\\04022.04 ro,nosuid,nodev,relatime shared:420 - iso9660 "
    "/dev/sr0 ro,nojoliet,check=s,map=n,blocksize=2048\n"
    "35 21 0:50 / /mnt/share rw,relatime shared:430 - nfs4 fileserver:/export/share "
    "rw,vers=4.2,rsize=1048576,wsize=1048576,hard,proto=tcp\n"
    "36 21 259:3 /ann/projects /srv/projects rw,relatime shared:31 - ext4 /dev/nvme0n1p3 rw\n"
    "37 23 0:51 / /proc/sys/fs/binfmt_misc rw,relatime shared:440 - binfmt_misc binfmt_misc rw\n";

constexpr const char* kContainer =
    "600 550 0:45 / / rw,relatime master:300 - overlay overlay "
    "rw,lowerdir=/var/lib/docker/overlay2/l/ABC:/var/lib/docker/overlay2/l/DEF,"
    "upperdir=/var/lib/docker/overlay2/xyz/diff,workdir=/var/lib/docker/overlay2/xyz/work\n"
    "601 600 0:48 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw\n"
    "602 600 0:49 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755\n"
    "603 602 0:50 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw,gid=5,mode=620\n"
    "604 600 0:51 / /sys ro,nosuid,nodev,noexec,relatime - sysfs sysfs ro\n"
    "605 604 0:29 / /sys/fs/cgroup ro,nosuid,nodev,noexec,relatime - cgroup2 cgroup rw\n"
    "606 602 0:47 / /dev/mqueue rw,nosuid,nodev,noexec,relatime - mqueue mqueue rw\n"
    "607 602 0:52 / /dev/shm rw,nosuid,nodev,noexec,relatime - tmpfs shm rw,size=65536k\n"
    "611 600 8:1 /home/ann/data /data rw,relatime - ext4 /dev/sda1 rw\n"
    "612 601 0:48 /bus /proc/bus ro,relatime - proc proc rw\n";

struct DriveFacts {
    std::string letter, rootPath, type, fileSystem;
};

std::map<std::string, DriveFacts> ExistingDrives(const TcxDriveInfo& drives) {
    std::map<std::string, DriveFacts> existing;
    for (int index = 0; index < 26; ++index) {
        const auto drive = drives.Drive(index);
        if (drive->Exists()->Value()) {
            existing[drive->Letter()] = {drive->Letter(), drive->RootPath(),
                                         drive->DriveType()->Text(), drive->FileSystem()};
        }
    }
    return existing;
}

class DriveTable : public ::testing::Test {
protected:
    std::shared_ptr<FakeMountSource> source = std::make_shared<FakeMountSource>();
    TcxDriveInfo drives{source};
};

TEST_F(DriveTable, DesktopDrivesInMountPointOrderWithTheirTypes) {
    source->text = kDesktop;
    source->removable = {"8:17", "11:0"};
    const auto existing = ExistingDrives(drives);
    const std::vector<std::pair<std::string, DriveFacts>> expected = {
        {"C", {"C", "/", "Fixed", "ext4"}},
        {"D", {"D", "/boot/efi/", "Fixed", "vfat"}},
        {"E", {"E", "/home/", "Fixed", "ext4"}},
        {"F", {"F", "/media/ann/USB STICK/", "Removable", "vfat"}},
        {"G", {"G", "/media/ann/Ubuntu 22.04/", "CdRom", "iso9660"}},
        {"H", {"H", "/mnt/share/", "Remote", "nfs4"}},
        {"I", {"I", "/run/", "Ram", "tmpfs"}},
        {"J", {"J", "/run/user/1000/", "Ram", "tmpfs"}},
        {"K", {"K", "/tmp/", "Ram", "tmpfs"}},
    };
    ASSERT_EQ(existing.size(), expected.size());
    for (const auto& [letter, facts] : expected) {
        const auto& found = existing.at(letter);
        EXPECT_EQ(found.rootPath, facts.rootPath) << letter;
        EXPECT_EQ(found.type, facts.type) << letter;
        EXPECT_EQ(found.fileSystem, facts.fileSystem) << letter;
    }
}

TEST_F(DriveTable, LocalDiskIsDriveCFixed) {
    source->text = kDesktop;
    const auto c = drives.Drive(2);
    EXPECT_TRUE(c->Exists()->Value());
    EXPECT_EQ(c->DriveType()->Number(), 3);
    EXPECT_EQ(c->DriveType()->Text(), "Fixed");
    EXPECT_EQ(c->Letter(), "C");
    EXPECT_EQ(c->Index(), 2);
}

TEST_F(DriveTable, LettersWithoutDriveShowNoDrive) {
    source->text = kDesktop;
    for (const int index : {0, 1, 11, 25}) {
        const auto drive = drives.Drive(index);
        EXPECT_FALSE(drive->Exists()->Value()) << index;
        EXPECT_EQ(drive->DriveType()->Number(), 1);
        EXPECT_EQ(drive->DriveType()->Text(), "No Drive");
        EXPECT_EQ(drive->VolumeName(), "");
        EXPECT_EQ(drive->FileSystem(), "");
        EXPECT_EQ(drive->SerialNumber(), "0");
        EXPECT_EQ(drive->RootPath(), "");
        EXPECT_FALSE(drive->Features()->CaseSensitiveSearch()->Value());
        EXPECT_FALSE(drive->Features()->ReadOnlyVolume()->Value());
        EXPECT_EQ(drive->Space()->Total()->Value(), 0);
        EXPECT_EQ(drive->ShellInfo()->DisplayName(), "");
    }
    EXPECT_EQ(drives.Drive(0)->Letter(), "A");
    EXPECT_EQ(drives.Drive(25)->Letter(), "Z");
}

TEST_F(DriveTable, IndexOutsideTheAlphabetIsNoDrive) {
    source->text = kDesktop;
    for (const int index : {-1, 26, 1000}) {
        const auto drive = drives.Drive(index);
        EXPECT_FALSE(drive->Exists()->Value());
        EXPECT_EQ(drive->Letter(), "");
    }
}

TEST_F(DriveTable, ContainerRootOnOverlayIsFixedDriveC) {
    source->text = kContainer;
    const auto existing = ExistingDrives(drives);
    ASSERT_EQ(existing.size(), 4u);
    EXPECT_EQ(existing.at("C").rootPath, "/");
    EXPECT_EQ(existing.at("C").type, "Fixed");
    EXPECT_EQ(existing.at("C").fileSystem, "overlay");
    EXPECT_EQ(existing.at("D").rootPath, "/data/");
    EXPECT_EQ(existing.at("D").type, "Fixed");
    EXPECT_EQ(existing.at("E").rootPath, "/dev/");
    EXPECT_EQ(existing.at("E").type, "Ram");
    EXPECT_EQ(existing.at("F").rootPath, "/dev/shm/");
}

TEST_F(DriveTable, BindMountOfALetteredFolderGetsNoLetter) {
    source->text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "2 1 8:1 /srv /b-bind rw - ext4 /dev/sda1 rw\n"
                   "3 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
                   "4 1 8:2 / /data-again rw - ext4 /dev/sda2 rw\n";
    const auto existing = ExistingDrives(drives);
    ASSERT_EQ(existing.size(), 2u);
    EXPECT_EQ(existing.at("D").rootPath, "/data/");
}

TEST_F(DriveTable, SubVolumesOfOneFileSystemKeepTheirOwnLetters) {
    source->text = "1 0 0:31 /@ / rw - btrfs /dev/sda2 rw,compress=zstd:1,subvol=/@\n"
                   "2 1 0:31 /@home /home rw - btrfs /dev/sda2 rw,subvol=/@home\n"
                   "3 1 0:31 /@home/ann/music /music rw - btrfs /dev/sda2 rw\n";
    const auto existing = ExistingDrives(drives);
    ASSERT_EQ(existing.size(), 2u);
    EXPECT_EQ(existing.at("D").rootPath, "/home/");
    EXPECT_EQ(existing.at("D").type, "Fixed");
    EXPECT_TRUE(drives.Drive(2)->Features()->VolumeIsCompressed()->Value());
}

TEST_F(DriveTable, OnlyTheTopMountOfAMountPointCounts) {
    source->text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "2 1 8:2 / /mnt rw - ext4 /dev/sda2 rw\n"
                   "3 2 0:40 / /mnt rw - tmpfs tmpfs rw\n";
    const auto d = drives.Drive(3);
    EXPECT_EQ(d->RootPath(), "/mnt/");
    EXPECT_EQ(d->DriveType()->Text(), "Ram");
    EXPECT_FALSE(drives.Drive(4)->Exists()->Value());
}

TEST_F(DriveTable, MountsBeyondZGetNoLetter) {
    source->text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
    for (int i = 0; i < 30; ++i) {
        const std::string number = std::to_string(100 + i);
        source->text += number + " 1 0:" + number + " / /m" + number + " rw - tmpfs tmpfs rw\n";
    }
    EXPECT_EQ(drives.Drive(3)->RootPath(), "/m100/");
    EXPECT_EQ(drives.Drive(25)->RootPath(), "/m122/");
    EXPECT_EQ(ExistingDrives(drives).size(), 24u);
}

// Snap packages mount dozens of images from loop devices; the disks mounted after them in
// mount-point order still get letters, first after C, and so are scanned by "Scan Now".
TEST_F(DriveTable, ImageMountsNeverLeaveARealDiskWithoutALetter) {
    source->text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "2 1 8:33 / /media/ann/STICK rw - vfat /dev/sdc1 rw\n"
                   "3 1 7:40 / /mnt/image rw - ext4 /dev/loop40 rw\n"
                   "4 1 0:60 / /mnt/pool rw - btrfs /dev/loop41 rw\n";
    for (int i = 0; i < 40; ++i) {
        const std::string number = std::to_string(i);
        source->text += std::to_string(10 + i) + " 1 7:" + number + " / /snap/app" + number +
                        "/1 ro - squashfs /dev/loop" + number + " ro\n";
    }
    source->text += "60 1 8:2 / /srv rw - ext4 /dev/sda2 rw\n"
                    "61 1 8:3 / /var rw - xfs /dev/sda3 rw\n"
                    "62 61 8:2 /www /var/www rw - ext4 /dev/sda2 rw\n";
    source->removable = {"8:33"};
    const auto existing = ExistingDrives(drives);
    ASSERT_EQ(existing.size(), 24u);
    const std::vector<std::pair<std::string, std::string>> expected = {{"C", "/"},
                                                                       {"D", "/srv/"},
                                                                       {"E", "/var/"},
                                                                       {"F", "/media/ann/STICK/"},
                                                                       {"G", "/mnt/image/"},
                                                                       {"H", "/mnt/pool/"},
                                                                       {"I", "/snap/app0/1/"}};
    for (const auto& [letter, root] : expected) {
        EXPECT_EQ(existing.at(letter).rootPath, root) << letter;
    }
    EXPECT_EQ(existing.at("D").type, "Fixed");
    EXPECT_EQ(existing.at("E").type, "Fixed");
    EXPECT_EQ(existing.at("F").type, "Removable");
    EXPECT_EQ(existing.at("I").type, "Unknown");
    EXPECT_EQ(existing.at("Z").rootPath, "/snap/app24/1/"); // in text order: 0, 1, 10 .. 19, 2, 20
}

TEST_F(DriveTable, WithoutRootFileSystemDriveCIsEmpty) {
    source->text = "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n";
    EXPECT_FALSE(drives.Drive(2)->Exists()->Value());
    EXPECT_EQ(drives.Drive(3)->RootPath(), "/data/");
}

TEST_F(DriveTable, EmptyOrUnreadableTableHasNoDrives) {
    source->text = "";
    EXPECT_TRUE(ExistingDrives(drives).empty());
}

TEST_F(DriveTable, VolumeFactsFromLabelUuidOptionsAndSpace) {
    source->text = kDesktop;
    source->removable = {"8:17"};
    source->labels = {{"/media/ann/USB STICK", "  STICK \t"}, {"/", "system"}};
    source->uuids = {{"/media/ann/USB STICK", "ABCD-1234"},
                     {"/", "1b2c3d4e-0f1a-4b2c-8d3e-4f5a6b7c8d9e"},
                     {"/home", "0123456789ABCDEF"},
                     {"/boot/efi", "not-a-uuid"}};
    const auto c = drives.Drive(2);
    EXPECT_EQ(c->VolumeName(), "system");
    EXPECT_EQ(c->SerialNumber(), std::to_string(0x1b2c3d4eu));
    EXPECT_EQ(c->ShellInfo()->DisplayName(), "system (C:)");
    EXPECT_EQ(c->ShellInfo()->TypeName(), "Local Disk");
    EXPECT_EQ(c->ShellInfo()->Icon(), 0);
    EXPECT_TRUE(c->Features()->CaseSensitiveSearch()->Value());
    EXPECT_FALSE(c->Features()->ReadOnlyVolume()->Value());
    EXPECT_EQ(c->Space()->Total()->Value(), 1000);
    EXPECT_EQ(c->Space()->TotalFree()->Value(), 400);
    EXPECT_EQ(c->Space()->FreeAvailable()->Value(), 300);
    EXPECT_EQ(c->Space()->Used()->Value(), 600);
    EXPECT_FALSE(c->ShowProperties());

    EXPECT_EQ(drives.Drive(3)->SerialNumber(), "0"); // no usable UUID
    const auto home = drives.Drive(4);
    EXPECT_EQ(home->SerialNumber(), std::to_string(0x89ABCDEFu)); // NTFS-style: the low half
    EXPECT_EQ(home->ShellInfo()->DisplayName(), "/home (E:)");
    EXPECT_TRUE(home->Features()->VolumeQuotas()->Value());

    const auto stick = drives.Drive(5);
    EXPECT_EQ(stick->VolumeName(), "STICK");
    EXPECT_EQ(stick->SerialNumber(), std::to_string(0xABCD1234u));
    EXPECT_EQ(stick->ShellInfo()->DisplayName(), "STICK (F:)");
    EXPECT_EQ(stick->ShellInfo()->TypeName(), "Removable Disk");
    EXPECT_FALSE(stick->Features()->CaseSensitiveSearch()->Value());
    EXPECT_TRUE(stick->Features()->CasePreservedNames()->Value());
    EXPECT_EQ(stick->Space()->Total()->Value(), 0); // no figures for it

    const auto cd = drives.Drive(6);
    EXPECT_EQ(cd->VolumeName(), "");
    EXPECT_EQ(cd->SerialNumber(), "0");
    EXPECT_TRUE(cd->Features()->ReadOnlyVolume()->Value());
    EXPECT_EQ(cd->ShellInfo()->TypeName(), "CD Drive");
}

TEST_F(DriveTable, ReadOnlyMountShowsAsReadOnlyVolume) {
    source->text = "1 0 8:1 / / ro,relatime - ext4 /dev/sda1 rw\n"
                   "2 1 8:2 / /data rw - xfs /dev/sda2 ro\n"
                   "3 1 8:3 / /rw rw - xfs /dev/sda3 rw,errors=remount-ro\n";
    EXPECT_TRUE(drives.Drive(2)->Features()->ReadOnlyVolume()->Value());
    EXPECT_TRUE(drives.Drive(3)->Features()->ReadOnlyVolume()->Value());
    EXPECT_FALSE(drives.Drive(4)->Features()->ReadOnlyVolume()->Value());
}

TEST_F(DriveTable, EachCallReadsTheTableAfreshAndHandsOutNewObjects) {
    source->text = kDesktop;
    const auto first = drives.Drive(2);
    const auto second = drives.Drive(2);
    EXPECT_NE(first, second);
    EXPECT_NE(first->Exists(), first->Exists());
    EXPECT_NE(first->Features(), first->Features());
    EXPECT_EQ(source->reads, 2);

    source->text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
    EXPECT_FALSE(drives.Drive(4)->Exists()->Value());
    // A drive object keeps describing what it was made from.
    EXPECT_EQ(first->RootPath(), "/");
    EXPECT_EQ(first->DriveType()->Text(), "Fixed");
}

} // namespace
} // namespace mirelon
