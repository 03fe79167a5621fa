#include "app/app_windows.h"

namespace mirelon {

namespace {

// Stands in for a window whose own code arrives later, so the creation order is already right.
std::unique_ptr<QWidget> MakePlaceholderWindow(const char* objectName) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setObjectName(QString::fromLatin1(objectName));
    window->setWindowTitle(QString::fromLatin1(objectName));
    return window;
}

} // namespace

TAppWindows::~TAppWindows() {
    frmQueryResults.reset();
    frmDuplicateFiles_Options.reset();
    frmDuplicateFiles_ExcludedFolders.reset();
    frmScan_Options.reset();
    frmScan_ExcludedFolders.reset();
    frmMain.reset();
}

TAppWindows CreateAppWindows(TShellState& state) {
    TAppWindows windows;
    windows.frmMain = std::make_unique<TfrmMain>(state);
    windows.frmScan_ExcludedFolders = MakePlaceholderWindow("frmScan_ExcludedFolders");
    windows.frmScan_Options = MakePlaceholderWindow("frmScan_Options");
    windows.frmDuplicateFiles_ExcludedFolders =
        MakePlaceholderWindow("frmDuplicateFiles_ExcludedFolders");
    windows.frmDuplicateFiles_Options = MakePlaceholderWindow("frmDuplicateFiles_Options");
    windows.frmQueryResults = MakePlaceholderWindow("frmQueryResults");
    return windows;
}

} // namespace mirelon
