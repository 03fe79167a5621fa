#pragma once

#include "exclusions/excluded_folders_panel.h"

#include "scan/exclusion_provider.h"

#include <memory>
#include <string>
#include <vector>

namespace mirelon {

inline constexpr char kScanExclusionsFileName[] = "Scan_Exclusions.txt";
inline constexpr char kDuplicateFilesExclusionsFileName[] = "DuplicateFiles_Exclusions.txt";

// The folders the scan leaves out; opened from the scan options panel.
class TfrmScan_ExcludedFolders : public TfmExcludedFoldersPanel {
    Q_OBJECT

public:
    // dataDirectory ends with a separator; drives null means the system's drive table.
    explicit TfrmScan_ExcludedFolders(const std::string& dataDirectory,
                                      std::shared_ptr<const TcxDriveInfo> drives = nullptr,
                                      QWidget* parent = nullptr);
};

// The duplicate-files panel: the duplicate search leaves out the files in its ticked folders.
class TfrmDuplicateFiles_ExcludedFolders : public TfmExcludedFoldersPanel {
    Q_OBJECT

public:
    explicit TfrmDuplicateFiles_ExcludedFolders(
        const std::string& dataDirectory, std::shared_ptr<const TcxDriveInfo> drives = nullptr,
        QWidget* parent = nullptr);
};

} // namespace mirelon
