// Saves a picture of the scan exclusion panel as it drops down, over a small sample drive with a
// few folders ticked, for the documentation:
//   xvfb-run -a exclusion_panel_screenshot OUTPUT_FOLDER
// Run it under a real (or virtual) X display so fonts and styles are the desktop's.

#include "exclusions/folder_tree.h"
#include "exclusions/frm_excluded_folders.h"
#include "tests/support/dropped_panel_picture.h"

#include "scan/drive_info.h"
#include "tests/support/fake_mount_source.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

using namespace mirelon;

namespace {

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text) {
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text)
            return item->child(i);
    }
    return item;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: exclusion_panel_screenshot OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir drive;
    QTemporaryDir data;
    for (const char* folder : {"Archive/2019", "Archive/2020", "Music", "Photos", "Projects/build",
                               "Projects/src", "Temp"})
        QDir(drive.path()).mkpath(folder);
    auto source = std::make_shared<test::FakeMountSource>();
    source->text = "30 1 259:3 / " + drive.path().toStdString() + " rw - ext4 /dev/vdb1 rw\n";
    source->labels[drive.path().toStdString()] = "Data";

    QWidget mainWindow;
    mainWindow.setGeometry(20, 20, 544, 366);
    mainWindow.show();
    TfrmScan_ExcludedFolders panel(data.path().toStdString() + "/",
                                   std::make_shared<const TcxDriveInfo>(source));
    QTreeWidgetItem* root = panel.vclExplorer->ComputerItem()->child(0);
    Child(root, "Temp")->setCheckState(0, Qt::Checked);
    Child(Child(root, "Projects"), "build")->setCheckState(0, Qt::Checked);
    Child(root, "Archive")->setCheckState(0, Qt::Checked);
    Child(root, "Archive")->setExpanded(false);

    const bool saved =
        SaveDroppedPanelPicture(panel, mainWindow, output.filePath("scan-exclusions.png"));
    return saved ? 0 : 1;
}
