#include "exclusions/frm_excluded_folders.h"

#include "scan/drive_info.h"

namespace mirelon {

namespace {

std::shared_ptr<const TcxDriveInfo> DrivesOrSystem(std::shared_ptr<const TcxDriveInfo> drives) {
    return drives ? std::move(drives) : std::make_shared<const TcxDriveInfo>();
}

} // namespace

TfrmScan_ExcludedFolders::TfrmScan_ExcludedFolders(const std::string& dataDirectory,
                                                   std::shared_ptr<const TcxDriveInfo> drives,
                                                   QWidget* parent)
    : TfmExcludedFoldersPanel(QStringLiteral("frmScan_ExcludedFolders"), QStringLiteral("the scan"),
                              dataDirectory + kScanExclusionsFileName,
                              DrivesOrSystem(std::move(drives)), parent) {}

TfrmDuplicateFiles_ExcludedFolders::TfrmDuplicateFiles_ExcludedFolders(
    const std::string& dataDirectory, std::shared_ptr<const TcxDriveInfo> drives, QWidget* parent)
    : TfmExcludedFoldersPanel(QStringLiteral("frmDuplicateFiles_ExcludedFolders"),
                              QStringLiteral("the duplicate file search"),
                              dataDirectory + kDuplicateFilesExclusionsFileName,
                              DrivesOrSystem(std::move(drives)), parent) {}

} // namespace mirelon
