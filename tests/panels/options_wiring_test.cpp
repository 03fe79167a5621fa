// The main window's "Options" buttons, the option panels made at start-up and the main window's
// settings store, as the program puts them together.
#include "app/app_windows.h"
#include "app/qt_window_thread.h"
#include "panels/frm_duplicate_files_options.h"
#include "panels/frm_scan_options.h"
#include "session/shell_state.h"
#include "settings/rs_ini_data.h"
#include "tests/support/drop_down_steps.h"

#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace mirelon;
using mirelon::test::WhenDropped;

class OptionsWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallQtWindowThread(); }
    void optionsButtonsDropThePanelsAtThePointer();
    void settingsAreReadAtStartUpAndWrittenAtTheEnd();
};

void OptionsWiringTest::optionsButtonsDropThePanelsAtThePointer() {
    QTemporaryDir folder;
    TShellState state;
    state.DataDirectory = folder.path().toStdString() + "/";
    TAppWindows windows = CreateAppWindows(state);
    windows.frmMain->tmrAfterShow->stop();
    windows.frmMain->show();
    auto* scan = qobject_cast<TfrmScan_Options*>(windows.frmScan_Options.get());
    auto* duplicates =
        qobject_cast<TfrmDuplicateFiles_Options*>(windows.frmDuplicateFiles_Options.get());
    QVERIFY(scan && duplicates);
    QCOMPARE(windows.frmScan_ExcludedFolders->objectName(), QString("frmScan_ExcludedFolders"));
    QCOMPARE(scan->ExcludedFoldersPanel(), windows.frmScan_ExcludedFolders.get());
    QCOMPARE(duplicates->ExcludedFoldersPanel(), windows.frmDuplicateFiles_ExcludedFolders.get());

    QCursor::setPos(600, 420);
    const QPoint pointer = QCursor::pos();
    QPoint droppedAt;
    QWidget* parentForm = nullptr;
    QWidget* nestedParent = nullptr;
    auto* excluded = static_cast<TfmDropDown*>(windows.frmScan_ExcludedFolders.get());
    for (TfmDropDown* panel :
         {excluded, static_cast<TfmDropDown*>(scan), static_cast<TfmDropDown*>(duplicates)}) {
        panel->SetRollDownSpeed(0);
    }
    WhenDropped(*excluded, [&] {
        nestedParent = excluded->ParentForm();
        excluded->CloseDropDown();
    });
    WhenDropped(*scan, [&] {
        droppedAt = scan->pos();
        parentForm = scan->ParentForm();
        QTest::mouseClick(scan->btnExcludedFolders->Button(), Qt::LeftButton);
        QComboBox* hash = scan->cboHashMethod->ComboBox();
        hash->setFocus();
        QTest::keyClick(hash, Qt::Key_Down); // MD5 to CRC32
        QTest::keyClick(hash, Qt::Key_Escape);
    });
    QTest::mouseClick(windows.frmMain->btnScanOptions, Qt::LeftButton);
    QCOMPARE(droppedAt, pointer);
    QCOMPARE(parentForm, windows.frmMain.get());
    QCOMPARE(nestedParent, static_cast<QWidget*>(scan));
    // The scan job reads the choice from the shell's options, without "Ok".
    QCOMPARE(state.ScanOptions.HashMethodIndex(), 3);

    WhenDropped(*duplicates, [&] {
        droppedAt = duplicates->pos();
        duplicates->CloseDropDown();
    });
    QTest::mouseClick(windows.frmMain->btnDuplicateFilesOptions, Qt::LeftButton);
    QCOMPARE(droppedAt, pointer);
    windows.frmMain->close();
}

void OptionsWiringTest::settingsAreReadAtStartUpAndWrittenAtTheEnd() {
    QTemporaryDir folder;
    TShellState state;
    state.DataDirectory = folder.path().toStdString() + "/";
    const QString file = QString::fromStdString(SettingsFileName(state.DataDirectory));
    {
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[frmMain.PropSaver]\r\nseMonths.Value=7\r\n"
                  "[frmScan_Options.PropSaver]\r\ncboHashMethod.ItemIndex=11\r\n");
    }
    {
        TAppWindows windows = CreateAppWindows(state);
        windows.frmMain->tmrAfterShow->stop();
        QCOMPARE(windows.frmMain->seMonths->value(), 7);
        QCOMPARE(state.ScanOptions.HashMethodIndex(), 11);
        windows.frmMain->show();
        windows.frmMain->seMonths->setValue(9);
        windows.frmMain->close(); // the main window's saver saves as it closes
    }                             // the program ends: the store writes the file
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    QVERIFY2(text.contains("[frmMain.PropSaver]\r\nFormPlacement="), qPrintable(text));
    QVERIFY2(text.contains("seMonths.Value=9\r\n"), qPrintable(text));
    QVERIFY2(text.contains("cboHashMethod.ItemIndex=11\r\n"), qPrintable(text));
}

QTEST_MAIN(OptionsWiringTest)
#include "options_wiring_test.moc"
