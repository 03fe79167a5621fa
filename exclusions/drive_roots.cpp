#include "exclusions/drive_roots.h"

#include "exclusions/item_identity.h"
#include "scan/drive_info.h"

namespace mirelon {

std::vector<TDriveRoot> DriveRoots(const TcxDriveInfo& drives) {
    std::vector<TDriveRoot> roots;
    for (int index = 0; index < 26; ++index) {
        const auto drive = drives.Drive(index);
        if (!drive->Exists()->Value()) {
            continue;
        }
        TDriveRoot root;
        root.ScanPath = drive->RootPath();
        if (root.ScanPath.empty()) {
            continue;
        }
        root.Path = ItemPathOfFolder(root.ScanPath);
        root.DisplayName = drive->ShellInfo()->DisplayName();
        roots.push_back(std::move(root));
    }
    return roots;
}

} // namespace mirelon
