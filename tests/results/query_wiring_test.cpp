// The three "Show Results" buttons of the main window, through the real helper thread and task
// dispatcher, down to the results window.
#include "app/app_windows.h"
#include "app/blinking_label.h"
#include "app/qt_window_thread.h"
#include "catalog/local_clock.h"
#include "panels/frm_duplicate_files_options.h"
#include "panels/inspector_rows.h"
#include "query/month_shift.h"
#include "results/frm_query_results.h"
#include "results/result_grid_model.h"
#include "session/shell_state.h"
#include "tests/query/test_catalog.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace mirelon;

class QueryWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallQtWindowThread(); }
    void showResultsButtonsFillTheResultsWindow();
};

void QueryWiringTest::showResultsButtonsFillTheResultsWindow() {
    TTestCatalog catalog;
    const std::string today = DateText(NowLocal());
    catalog.Insert({"/w/a.dll", "same", today});
    catalog.Insert({"/w/b.dll", "same", today});
    catalog.Insert({"/w/x.exe", "other", today, ",a.dll"});
    catalog.Insert({"/w/old.txt", "old", DateText(ShiftMonths(NowLocal(), -61))});

    TShellState state;
    state.DataDirectory = catalog.Folder().string() + "/";
    TAppWindows windows = CreateAppWindows(state);
    windows.frmMain->tmrAfterShow->stop();
    state.CatalogDatabase =
        std::make_unique<TSQLiteDatabase>((catalog.Folder() / "files.db").string());
    auto* results = qobject_cast<TfrmQueryResults*>(windows.frmQueryResults.get());
    QVERIFY(results != nullptr);
    QVERIFY(!results->isVisible());

    // The options' initial values ask for the same name and four extensions, which these
    // libraries have not; the status says why nothing shows.
    windows.frmMain->btnDuplicateFiles->click();
    QCOMPARE(results->Model().rowCount(), 0);
    QCOMPARE(windows.frmMain->sbCaption2->text(),
             QString("No matching files found. Same name; .doc, .zip, .exe, .txt — change them "
                     "under Options"));
    auto* options =
        qobject_cast<TfrmDuplicateFiles_Options*>(windows.frmDuplicateFiles_Options.get());
    options->chkSameName->SetChecked(false);
    options->edtExtensions->SetValue("DLL");
    windows.frmMain->btnDuplicateFiles->click();
    QCOMPARE(windows.frmMain->sbCaption2->text(), QString(".dll — change them under Options"));
    QCOMPARE(results->Model().rowCount(), 2);
    QCOMPARE(results->Model().RowColour(0), BandColour::Peach);
    QVERIFY(results->isVisible());
    QCOMPARE(windows.frmMain->sbCaption1->text(), QString("Ready"));
    QCOMPARE(state.TaskName, std::string("Find Duplicate Files"));

    windows.frmMain->btnUnusedDlls->click();
    QCOMPARE(state.TaskName, std::string("Unused Dlls"));
    QCOMPARE(results->Model().rowCount(), 1);
    QCOMPARE(results->Model().CellText(0, kFileNameColumn), QString("b.dll"));
    QVERIFY(results->isVisible() && !results->isModal());

    windows.frmMain->seMonths->setValue(60);
    windows.frmMain->btnOldFiles->click();
    QCOMPARE(state.TaskName, std::string("Find Old Files"));
    QCOMPARE(results->Model().rowCount(), 1);
    QCOMPARE(results->Model().CellText(0, 0), QString("/w/old.txt"));
    QCOMPARE(windows.frmMain->sbCaption1->text(), QString("Ready"));
    results->close();
}

QTEST_MAIN(QueryWiringTest)
#include "query_wiring_test.moc"
