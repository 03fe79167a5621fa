// Saves pictures of the two option panels as they drop down, for the documentation:
//   panel_screenshots OUTPUT_FOLDER
// Run it under a real (or virtual) X display so fonts and styles are the desktop's.

#include "settings/frm_duplicate_files_options.h"
#include "settings/frm_scan_options.h"
#include "settings/rs_storage.h"

#include "scan/scan_options.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

using namespace mirelon;

namespace {

bool SaveDropped(TfmDropDown& panel, QWidget& parent, const QString& file) {
    bool saved = false;
    QObject::connect(
        &panel, &TfmDropDown::DroppedDown, &panel,
        [&] {
            // Let the panel paint before taking its picture.
            QTimer::singleShot(300, &panel, [&] {
                saved = panel.grab().save(file, "PNG");
                panel.CloseDropDown();
            });
        },
        Qt::SingleShotConnection);
    panel.ShowDropDown(&parent, 60, 60, -1, -1);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "Saved" : "Cannot write",
                 file.toLocal8Bit().constData());
    return saved;
}

} // namespace

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
        SaveDropped(scan, mainWindow, folder.filePath("scan-options.png")) &&
        SaveDropped(duplicates, mainWindow, folder.filePath("duplicate-files-options.png"));
    return ok ? 0 : 1;
}
