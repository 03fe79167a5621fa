#include "exclusions/store_exclusion_provider.h"

#include "exclusions/drive_roots.h"
#include "exclusions/excluded_folder_list.h"

namespace mirelon {

TStoreExclusionProvider::TStoreExclusionProvider(std::shared_ptr<const TCheckStateStore> store,
                                                 std::shared_ptr<const TcxDriveInfo> drives)
    : store_(std::move(store)), drives_(std::move(drives)) {}

std::vector<std::string> TStoreExclusionProvider::ExcludedFolderList() {
    std::vector<std::string> scanPaths;
    for (const TDriveRoot& root : DriveRoots(*drives_)) {
        scanPaths.push_back(root.ScanPath);
    }
    return mirelon::ExcludedFolderList(*store_, scanPaths);
}

} // namespace mirelon
