// The exclusion panels as the program makes them at start-up, and the scan's view of them.
#include "app/app_windows.h"
#include "app/qt_window_thread.h"
#include "exclusions/check_state_file.h"
#include "exclusions/frm_excluded_folders.h"
#include "exclusions/item_identity.h"
#include "session/shell_state.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirelon;

class ExclusionsWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallQtWindowThread(); }
    void scanReadsTheScanPanelsFileAndLiveTicks();
};

void ExclusionsWiringTest::scanReadsTheScanPanelsFileAndLiveTicks() {
    QTemporaryDir data;
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath("saved") && QDir(tree.path()).mkpath("live"));
    const std::string saved = tree.path().toStdString() + "/saved";
    const std::string live = tree.path().toStdString() + "/live";
    TShellState state;
    state.DataDirectory = data.path().toStdString() + "/";
    {
        TCheckStateStore earlierRun;
        earlierRun.SetState({IdentityOfPath(saved)}, csCheckedNormal);
        SaveCheckStateFile(state.DataDirectory + "Scan_Exclusions.txt", earlierRun);
    }

    TAppWindows windows = CreateAppWindows(state);
    windows.frmMain->tmrAfterShow->stop();
    auto* scan = qobject_cast<TfrmScan_ExcludedFolders*>(windows.frmScan_ExcludedFolders.get());
    auto* duplicates = qobject_cast<TfrmDuplicateFiles_ExcludedFolders*>(
        windows.frmDuplicateFiles_ExcludedFolders.get());
    QVERIFY(scan && duplicates);
    QCOMPARE(duplicates->FilePath(), state.DataDirectory + "DuplicateFiles_Exclusions.txt");
    QCOMPARE(state.ScanExclusions->ExcludedFolderList(), std::vector<std::string>{saved});

    // A tick that was never saved counts from the next scan on.
    scan->Store()->SetState({IdentityOfPath(live)}, csCheckedNormal);
    QCOMPARE(state.ScanExclusions->ExcludedFolderList(), (std::vector<std::string>{live, saved}));
}

QTEST_MAIN(ExclusionsWiringTest)
#include "exclusions_wiring_test.moc"
