#include "panels/frm_scan_options.h"
#include "settings/rs_storage.h"

#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "hash/hash_service.h"
#include "scan/drive_info.h"
#include "scan/exclusion_provider.h"
#include "scan/scan_files.h"
#include "scan/scan_options.h"
#include "scan/scan_progress.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"
#include "tests/support/drop_down_steps.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace mirelon;

// The scan reads the panel's choice through the options object bound to it, at the moment of
// use, without "Ok".
class ScanOptionsBindingTest : public QObject {
    Q_OBJECT

private slots:
    void scanAfterChoosingCrc32StoresEightDigitChecksums();
};

void ScanOptionsBindingTest::scanAfterChoosingCrc32StoresEightDigitChecksums() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkpath("tree"));
    QVERIFY(QDir(folder.path()).mkpath("data"));
    {
        QFile file(folder.filePath("tree/hello.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("hello");
    }

    TrsStorage store; // no settings file: the first start
    TScanOptions options;
    TfrmScan_Options panel(&store, &options);
    QWidget mainWindow;
    mainWindow.show();
    test::ShowWhile(panel, mainWindow, [&] {
        QComboBox* combo = panel.cboHashMethod->ComboBox();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Escape); // left without "Ok"
    });
    QCOMPARE(panel.cboHashMethod->Text(), QString("CRC32"));
    QCOMPARE(options.HashMethodIndex(), 3);

    TScanFiles scanner;
    TcxDriveInfo drives;
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run(scanner, drives, options, exclusions, progress);
    run.SetRoots({folder.filePath("tree").toStdString()});
    std::unique_ptr<TSQLiteDatabase> catalog;
    const std::string dataDirectory = folder.filePath("data").toStdString() + "/";
    const ScanOutcome outcome = RunScanNow(run, catalog, dataDirectory, options);
    QVERIFY2(outcome.error.empty(), outcome.error.c_str());

    auto rows = catalog->OpenResult("SELECT fldFileName, fldCheckSum FROM tblFiles");
    QVERIFY(!rows->AtEnd());
    QCOMPARE(QString::fromStdString(rows->TextOf("fldFileName")), QString("hello.txt"));
    const QString checkSum = QString::fromStdString(rows->TextOf("fldCheckSum"));
    QVERIFY2(QRegularExpression("^[0-9a-f]{8}$").match(checkSum).hasMatch(), qPrintable(checkSum));
    // Method ID = 257 + index, as the scan maps it.
    std::string expected;
    QCOMPARE(
        HashFile(kHashMethodFirst + 3, folder.filePath("tree/hello.txt").toStdString(), expected),
        0);
    QCOMPARE(checkSum, QString::fromStdString(expected));
}

QTEST_MAIN(ScanOptionsBindingTest)
#include "scan_options_binding_test.moc"
