// Saves pictures of the two option panels as they drop down, for the documentation:
//   panel_screenshots OUTPUT_FOLDER
// Run it under a real (or virtual) X display so fonts and styles are the desktop's.

#include "panels/frm_duplicate_files_options.h"
#include "panels/frm_scan_options.h"
#include "settings/rs_storage.h"
#include "tests/support/dropped_panel_picture.h"

#include "scan/scan_options.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

using namespace mirelon;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: panel_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    TrsStorage store; // the designed values, as at a first start
    TScanOptions options;
    QWidget mainWindow;
    mainWindow.setGeometry(20, 20, 544, 366);
    mainWindow.show();
    TfrmScan_Options scan(&store, &options);
    TfrmDuplicateFiles_Options duplicates(&store);
    const bool ok =
        SaveDroppedPanelPicture(scan, mainWindow, folder.filePath("scan-options.png")) &&
        SaveDroppedPanelPicture(duplicates, mainWindow,
                                folder.filePath("duplicate-files-options.png"));
    return ok ? 0 : 1;
}
