#include "platform/volume_label.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

using platform::isOnRemovableMedia;
using platform::removableVolumeLabel;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

// A system's files as the kernel and the device manager lay them out: the
// mount table, the block devices in sysfs, the labels' links.
class FakeSystem {
public:
    FakeSystem() {
        // The hard disk holding the root, a USB stick's first partition, a
        // CD drive, and a second hard disk.
        disk("8:0", "pci/block/sda", "0");
        disk("8:17", "pci/usb/block/sdb/sdb1", "0", "1");
        writeFile(root / "sys/devices/pci/usb/block/sdb/removable", "1\n");
        disk("11:0", "pci/ata/block/sr0", "0");
        disk("8:33", "pci/block/sdc/sdc1", "0", "1");
        writeFile(root / "sys/devices/pci/block/sdc/removable", "0\n");
        label("MY\\x20STICK", "sdb1");
        label("ROOT", "sda");
        label("DATA", "sdc1");
    }

    void disk(const std::string& numbers, const std::string& device, const std::string& removable,
              const std::string& partition = "") {
        const std::string folder = root / ("sys/devices/" + device);
        testing_support::makeFolder(folder);
        writeFile(folder + "/removable", removable + "\n");
        if (!partition.empty()) writeFile(folder + "/partition", partition + "\n");
        testing_support::makeFolder(root / "sys/dev/block");
        std::filesystem::create_symlink("../../devices/" + device,
                                        root / ("sys/dev/block/" + numbers));
    }

    void label(const std::string& name, const std::string& device) {
        testing_support::makeFolder(root / "dev/disk/by-label");
        std::filesystem::create_symlink("../../" + device, root / ("dev/disk/by-label/" + name));
    }

    // Mount table lines: "id parent major:minor root point options - type source options".
    void mounts(const std::vector<std::pair<std::string, std::string>>& pointsAndDevices) {
        std::string table;
        int id = 20;
        for (const auto& [point, device] : pointsAndDevices)
            table += std::to_string(id++) + " 1 " + device + " / " + point +
                     " rw,relatime shared:1 - ext4 /dev/x rw\n";
        writeFile(root / "proc/self/mountinfo", table);
    }

    std::string path() const { return root.path(); }

    TempFolder root;
};

} // namespace

TEST(VolumeLabel, TheLabelOfARemovableOrOpticalDiscAndNoneOfAHardDisk) {
    FakeSystem system;
    system.mounts({{"/", "8:0"},
                   {"/proc", "0:21"},
                   {"/media/reader/MY\\040STICK", "8:17"},
                   {"/media/cdrom0", "11:0"},
                   {"/srv/data", "8:33"}});
    // The stick's partition takes the flag of its disk; the escapes of the
    // mount table and of the labels' names are undone.
    EXPECT_EQ(removableVolumeLabel("/media/reader/MY STICK/book/01.jpg", system.path()),
              "MY STICK");
    EXPECT_EQ(removableVolumeLabel("/media/reader/MY STICK", system.path()), "MY STICK");
    // The CD drive's major number tells it, even without a label.
    EXPECT_EQ(removableVolumeLabel("/media/cdrom0/book", system.path()), "");
    EXPECT_TRUE(isOnRemovableMedia("/media/cdrom0/book", system.path()));
    system.label("COMICS_01", "sr0");
    EXPECT_EQ(removableVolumeLabel("/media/cdrom0/book", system.path()), "COMICS_01");
    // Hard disks and file systems without a block device give none.
    EXPECT_EQ(removableVolumeLabel("/home/reader/book", system.path()), "");
    EXPECT_EQ(removableVolumeLabel("/srv/data/book", system.path()), "");
    EXPECT_EQ(removableVolumeLabel("/proc/self", system.path()), "");
    EXPECT_FALSE(isOnRemovableMedia("/srv/data/book", system.path()));
    // A path that only begins like a mount point is not in it.
    EXPECT_EQ(removableVolumeLabel("/media/cdrom0x/book", system.path()), "");
}

TEST(VolumeLabel, OpticalByDeviceTypeLongLabelsAndMountsOverMounts) {
    FakeSystem system;
    // A USB DVD drive: not flagged removable, but of the optical type.
    system.disk("11:1", "pci/usb/block/sr1", "0");
    writeFile(system.root / "sys/devices/pci/usb/block/sr1/device/type", "5\n");
    std::string longLabel;
    for (int i = 0; i < 20; ++i)
        longLabel += "あ"; // 60 bytes
    system.label(longLabel, "sr1");
    system.mounts(
        {{"/", "8:0"}, {"/mnt/dvd", "8:33"}, {"/mnt/dvd", "11:1"}, {"/mnt/dvd/inner", "8:33"}});
    // The later of two mounts at one point is the one seen; the label is cut
    // at a character within 49 bytes.
    std::string expected;
    for (int i = 0; i < 16; ++i)
        expected += "あ";
    EXPECT_EQ(removableVolumeLabel("/mnt/dvd/../dvd/./book", system.path()), expected);
    EXPECT_EQ(removableVolumeLabel("/mnt/dvd/inner/book", system.path()), "");
}

TEST(VolumeLabel, ADiscThatIsOutBelongsWhereTheDesktopMountsDiscs) {
    FakeSystem system;
    system.mounts({{"/", "8:0"}, {"/media/reader/DATA", "8:33"}});
    // Nothing is mounted for these: their disc is not in.
    EXPECT_TRUE(isOnRemovableMedia("/media/reader/COMICS_01/book", system.path()));
    EXPECT_TRUE(isOnRemovableMedia("/run/media/reader/COMICS_01/book", system.path()));
    // A hard disk the desktop mounted there, the media folder itself, and
    // places elsewhere are not removable.
    EXPECT_FALSE(isOnRemovableMedia("/media/reader/DATA/book", system.path()));
    EXPECT_FALSE(isOnRemovableMedia("/media", system.path()));
    EXPECT_FALSE(isOnRemovableMedia("/home/reader/gone", system.path()));
    EXPECT_FALSE(isOnRemovableMedia("/mediathek/gone", system.path()));
    EXPECT_FALSE(isOnRemovableMedia("", system.path()));
}

TEST(VolumeLabel, AFolderOnThisMachinesDiskHasNoLabel) {
    TempFolder folder;
    EXPECT_EQ(removableVolumeLabel(folder.path()), "");
    EXPECT_FALSE(isOnRemovableMedia(folder.path()));
}
