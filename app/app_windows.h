#pragma once

#include "app/frm_main.h"
#include "settings/rs_storage.h"

#include <QWidget>

#include <memory>

namespace mirelon {

struct TShellState;

// Every window of the program, each made once at start-up and kept until the program ends.
struct TAppWindows {
    std::unique_ptr<TfrmMain> frmMain;
    std::unique_ptr<QWidget> frmScan_ExcludedFolders;
    std::unique_ptr<QWidget> frmScan_Options;
    std::unique_ptr<QWidget> frmDuplicateFiles_ExcludedFolders;
    std::unique_ptr<QWidget> frmDuplicateFiles_Options;
    std::unique_ptr<QWidget> frmQueryResults;
    // The main window's settings store: read once the main window exists, before any saver
    // loads; it writes the settings file when it goes, after every window.
    std::unique_ptr<TrsStorage> rsStorage1;

    TAppWindows() = default;
    TAppWindows(TAppWindows&&) = default;
    TAppWindows& operator=(TAppWindows&&) = default;
    // The later windows keep values in the main window's settings; they go first.
    ~TAppWindows();
};

// Creates the six windows in their fixed order, the main window first, so that it becomes the
// application's main window and the others can rely on it.
TAppWindows CreateAppWindows(TShellState& state);

} // namespace mirelon
