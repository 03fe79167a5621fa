// The exclusion panels as the program makes them at start-up, and the scan's view of them.
#include "app/app_windows.h"
#include "app/frm_main.h"
#include "app/qt_window_thread.h"
#include "exclusions/check_state_file.h"
#include "exclusions/frm_excluded_folders.h"
#include "exclusions/item_identity.h"
#include "session/shell_state.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace mirelon;

class ExclusionsWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallQtWindowThread(); }
    void scanReadsTheScanPanelsFileAndLiveTicks();
    void damagedFilesAreKeptAsideAndToldOfOnceStartUpHasFinished();
};

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

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

void ExclusionsWiringTest::damagedFilesAreKeptAsideAndToldOfOnceStartUpHasFinished() {
    QTemporaryDir data;
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath("kept") && QDir(tree.path()).mkpath("lost"));
    const std::string kept = tree.path().toStdString() + "/kept";
    const std::string lost = tree.path().toStdString() + "/lost";
    TShellState state;
    state.DataDirectory = data.path().toStdString() + "/";
    const std::string scanFile = state.DataDirectory + "Scan_Exclusions.txt";
    const std::string duplicatesFile = state.DataDirectory + "DuplicateFiles_Exclusions.txt";

    // The scan list cut short after its first tick; in place of the other list a folder, which
    // cannot be read as a file.
    TCheckStateStore earlierRun;
    earlierRun.SetState({IdentityOfPath(kept)}, csCheckedNormal);
    earlierRun.SetState({IdentityOfPath(lost)}, csCheckedNormal);
    const std::string whole = EncodeCheckStateTree(earlierRun.Snapshot());
    const std::string cut = whole.substr(0, whole.size() - 30);
    std::ofstream(scanFile, std::ios::binary) << cut;
    QVERIFY(QDir().mkpath(QString::fromStdString(duplicatesFile)));
    const size_t damageAt = DecodeCheckStateTree(cut, IdentityExists).DamageOffset;

    TAppWindows windows = CreateAppWindows(state);
    TfrmMain& frm = *windows.frmMain;
    QStringList messages;
    QString statusAtMessage;
    frm.SetMessageSink([&](const QString& text) {
        messages << text;
        statusAtMessage = frm.sbCaption1->text();
    });
    // Kept aside at once, so no "Ok" can write over them; the ticks read before the damage count.
    QVERIFY(!QFile::exists(QString::fromStdString(scanFile)));
    QCOMPARE(ReadBytes(scanFile + ".damaged"), cut);
    QVERIFY(QDir(QString::fromStdString(duplicatesFile + ".damaged")).exists());
    QCOMPARE(state.ScanExclusions->ExcludedFolderList(), std::vector<std::string>{kept});

    // Told of once start-up has finished, after the catalog job has shown its result.
    QVERIFY(messages.isEmpty());
    frm.tmrAfterShow->setInterval(10);
    frm.show();
    QTRY_COMPARE(messages.size(), 1);
    QCOMPARE(statusAtMessage, QStringLiteral("Ready"));
    const QString scanPath = QString::fromStdString(scanFile);
    const QString duplicatesPath = QString::fromStdString(duplicatesFile);
    QCOMPARE(messages[0],
             QStringLiteral("\"%1\" is damaged at byte %2, so the list of folders excluded from "
                            "the scan was reset to what could be read of it.\n"
                            "The damaged file was kept as \"%1.damaged\".\n\n"
                            "\"%3\" could not be read (%4), so the list of folders excluded from "
                            "the duplicate file search was reset to what could be read of it.\n"
                            "The damaged file was kept as \"%3.damaged\".")
                 .arg(scanPath)
                 .arg(damageAt)
                 .arg(duplicatesPath, QString::fromLocal8Bit(std::strerror(EINVAL))));

    // "Ok" writes the list anew beside the kept file, which stays as it was.
    auto* scan = qobject_cast<TfrmScan_ExcludedFolders*>(windows.frmScan_ExcludedFolders.get());
    scan->btnOkClick();
    TCheckStateStore reread;
    QVERIFY(LoadCheckStateFile(scanFile, reread, IdentityExists).Complete);
    QCOMPARE(reread.Snapshot(), scan->Store()->Snapshot());
    QCOMPARE(ReadBytes(scanFile + ".damaged"), cut);
    QCOMPARE(messages.size(), 1);
}

QTEST_MAIN(ExclusionsWiringTest)
#include "exclusions_wiring_test.moc"
