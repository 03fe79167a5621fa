#include "frm_query_results.h"
#include "full_text_hint_delegate.h"
#include "grid_column_width.h"
#include "result_grid_model.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_storage.h"
#include "window_thread_grid_sink.h"

#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <thread>

using namespace mirelon;

namespace {

ResultRow Row(const QString& path, const QString& size = "0", const QString& checkSum = "",
              const QString& accessed = "") {
    ResultRow row;
    row[0] = path.toStdString();
    row[kFileSizeColumn] = size.toStdString();
    row[kCheckSumColumn] = checkSum.toStdString();
    row[kDateAccessedColumn] = accessed.toStdString();
    return row;
}

void Load(TfrmQueryResults& window, std::vector<ResultRow> rows) {
    window.Model().ClearRows();
    window.Model().AppendRows(rows);
}

QStringList ColumnTexts(TfrmQueryResults& window, int column) {
    QStringList texts;
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        texts << window.Model().CellText(row, column);
    }
    return texts;
}

void ClickHeader(TfrmQueryResults& window, int column) {
    QHeaderView* header = window.Grid().horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class FrmQueryResultsTest : public QObject {
    Q_OBJECT

private slots:
    void designedLayoutAndCaptions();
    void headerClickSortsFileSizeAsNumbers();
    void headerClickSortsDatesAsDates();
    void sortingKeepsSelectedRows();
    void checkSumSortAndBanding();
    void closingEmptiesAndReopeningShowsEmpty();
    void showModalOnVisibleWindowFails();
    void columnWidthPropertyReachesTheView();
    void columnWidthSurvivesARestart();
    void hintOnlyWhereTextDoesNotFit();
    void columnMenuHidesButKeepsOneColumn();
    void buttonsWithoutActionChangeNothing();
    void jobOnOtherThreadFillsGridThroughSink();
    void freshRowsClearTheSortIndicator();
    void typingSearchesFullPath();
};

void FrmQueryResultsTest::designedLayoutAndCaptions() {
    TfrmQueryResults window;
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QString());
    QCOMPARE(window.Model().rowCount(), 0);
    QCOMPARE(window.Model().columnCount(), 12);
    QCOMPARE(window.Model().headerData(3, Qt::Horizontal).toString(), QString("File Size"));
    QCOMPARE(window.Model().headerData(11, Qt::Horizontal).toString(), QString("File Version"));
    QCOMPARE(window.Grid().columnWidth(0), 200);
    QCOMPARE(window.Grid().columnWidth(4), 150);
    QCOMPARE(window.Grid().selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(window.Grid().selectionBehavior(), QAbstractItemView::SelectRows);

    const QStringList names{"btnDelete", "btnRefresh", "btnAbort", "btnClose"};
    const QStringList captions{"&Delete", "&Refresh", "&Abort", "&Close"};
    for (int i = 0; i < names.size(); ++i) {
        auto* button = window.findChild<QPushButton*>(names[i]);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->size(), QSize(75, 25));
    }
    QCOMPARE(window.findChild<QPushButton*>("btnRefresh")->toolTip(), QString("Refresh results."));
    auto* progress = window.findChild<QProgressBar*>("ProgressBar");
    QVERIFY(progress != nullptr);
    QCOMPARE(progress->value(), 50);
    QCOMPARE(progress->width(), 150);

    // Buttons keep their distance from the right edge.
    window.Show();
    window.resize(1000, 400);
    QTRY_COMPARE(window.findChild<QPushButton*>("btnClose")->geometry().right(),
                 window.findChild<QWidget*>("pnlBottom")->width() - 15);
}

void FrmQueryResultsTest::headerClickSortsFileSizeAsNumbers() {
    TfrmQueryResults window;
    Load(window, {Row("a", "100"), Row("b", "9"), Row("c", "5000000000"), Row("d", "20")});
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ClickHeader(window, kFileSizeColumn);
    QStringList sizes = ColumnTexts(window, kFileSizeColumn);
    if (window.Grid().horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder) {
        std::reverse(sizes.begin(), sizes.end());
    }
    QCOMPARE(sizes, (QStringList{"9", "20", "100", "5000000000"}));
    ClickHeader(window, kFileSizeColumn);
    QCOMPARE(window.Model().CellText(0, kFileSizeColumn),
             window.Grid().horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                 ? QString("9")
                 : QString("5000000000"));
}

void FrmQueryResultsTest::headerClickSortsDatesAsDates() {
    TfrmQueryResults window;
    Load(window, {Row("a", "0", "", "2015-03-15 10:30:00"), Row("b", "0", "", "2015-03-15"),
                  Row("c", "0", "", "2009-12-31 23:59:59")});
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ClickHeader(window, kDateAccessedColumn);
    QStringList dates = ColumnTexts(window, kDateAccessedColumn);
    if (window.Grid().horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder) {
        std::reverse(dates.begin(), dates.end());
    }
    QCOMPARE(dates, (QStringList{"2009-12-31 23:59:59", "2015-03-15", "2015-03-15 10:30:00"}));
}

void FrmQueryResultsTest::sortingKeepsSelectedRows() {
    TfrmQueryResults window;
    Load(window, {Row("c"), Row("a"), Row("b")});
    window.Grid().selectRow(0); // "c"
    window.Model().sort(0, Qt::AscendingOrder);
    const QModelIndexList selected = window.Grid().selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0].data().toString(), QString("c"));
    QCOMPARE(selected[0].row(), 2);
}

void FrmQueryResultsTest::checkSumSortAndBanding() {
    TfrmQueryResults window;
    Load(window, {Row("1", "0", "C"), Row("2", "0", "A"), Row("3", "0", "B"), Row("4", "0", "C"),
                  Row("5", "0", "B"), Row("6", "0", "A"), Row("7", "0", "B")});
    window.SortByCheckSum();
    window.ShadeDuplicateGroups();
    QCOMPARE(ColumnTexts(window, kCheckSumColumn),
             (QStringList{"A", "A", "B", "B", "B", "C", "C"}));
    QCOMPARE(window.Grid().horizontalHeader()->sortIndicatorSection(), int(kCheckSumColumn));
    const QColor peach(255, 233, 185);
    const QColor white(255, 255, 255);
    const QList<QColor> expected{peach, peach, white, white, white, peach, peach};
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 12; ++column) {
            QCOMPARE(window.Model().index(row, column).data(Qt::BackgroundRole).value<QColor>(),
                     expected[row]);
        }
    }
}

void FrmQueryResultsTest::closingEmptiesAndReopeningShowsEmpty() {
    TfrmQueryResults window;
    Load(window, {Row("a"), Row("b")});
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QPushButton*>("btnClose"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Model().rowCount(), 0);

    int rowsWhileModal = -1;
    QTimer::singleShot(0, &window, [&] {
        rowsWhileModal = window.Model().rowCount();
        QVERIFY(window.isModal());
        window.close();
    });
    window.ShowModal();
    QCOMPARE(rowsWhileModal, 0);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isModal());
}

void FrmQueryResultsTest::showModalOnVisibleWindowFails() {
    TfrmQueryResults window;
    Load(window, {Row("a")});
    window.Show();
    try {
        window.ShowModal();
        QFAIL("ShowModal on a visible window must fail");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QString(error.what()), QString("Cannot make a visible window modal"));
    }
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    QCOMPARE(window.Model().rowCount(), 1);
}

void FrmQueryResultsTest::columnWidthPropertyReachesTheView() {
    int dragged = 0;
    {
        TfrmQueryResults window;
        window.Grid().setColumnWidth(kCheckSumColumn, 321);
        QObject* proxy = window.findChild<QObject*>("fldCheckSum");
        QVERIFY(proxy != nullptr);
        dragged = proxy->property("Width").toInt();
        QCOMPARE(dragged, 321);
        // A hidden column still reports the width it will come back with.
        window.Grid().setColumnHidden(kCheckSumColumn, true);
        QCOMPARE(proxy->property("Width").toInt(), 321);
    }
    TfrmQueryResults restarted;
    QObject* proxy = restarted.findChild<QObject*>("fldCheckSum");
    QVERIFY(proxy->setProperty("Width", dragged));
    QCOMPARE(restarted.Grid().columnWidth(kCheckSumColumn), 321);
    QVERIFY(proxy->setProperty("Width", 0));
    QCOMPARE(restarted.Grid().columnWidth(kCheckSumColumn), 321);
    for (const char* name :
         {"fldFullPath", "fldFileName", "fldFileExtension", "fldFileSize", "fldDateCreated",
          "fldDateModified", "fldDateAccessed", "fldImportModules", "fldCompanyName",
          "fldInternalName", "fldFileVersion"}) {
        QVERIFY2(restarted.findChild<TGridColumnWidth*>(name) != nullptr, name);
    }
}

void FrmQueryResultsTest::columnWidthSurvivesARestart() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::string file = folder.filePath("mirelon.ini").toStdString();
    {
        TrsStorage settings;
        settings.SetStorageData(std::make_unique<TrsIniData>(file));
        settings.SetActive(true);
        TfrmQueryResults window(nullptr, &settings);
        QCOMPARE(window.Grid().columnWidth(kCheckSumColumn), 150);
        window.Show();
        window.Grid().setColumnWidth(kCheckSumColumn, 233);
        window.Grid().setColumnWidth(0, 321);
        window.close();
        // Widths that change after the close are not saved: the store keeps the closing state.
        window.Grid().setColumnWidth(0, 99);
    } // the store writes the file as the program ends
    QFile written(QString::fromStdString(file));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    QVERIFY(text.contains("[frmQueryResults.rsPropSaver1]"));
    QVERIFY(text.contains("fldCheckSum.Width=233"));
    QVERIFY(text.contains("FormPlacement="));

    TrsStorage settings;
    settings.SetStorageData(std::make_unique<TrsIniData>(file));
    settings.SetActive(true);
    TfrmQueryResults restarted(nullptr, &settings);
    QCOMPARE(restarted.Grid().columnWidth(kCheckSumColumn), 233);
    QCOMPARE(restarted.Grid().columnWidth(0), 321);
    QCOMPARE(restarted.Grid().columnWidth(1), 80);
}

void FrmQueryResultsTest::hintOnlyWhereTextDoesNotFit() {
    TfrmQueryResults window;
    const QString longText(300, QChar('w'));
    Load(window, {Row(longText, "123456789012345678", longText), Row("x")});
    window.Grid().setColumnWidth(kFileSizeColumn, 10);
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* delegate = qobject_cast<TFullTextHintDelegate*>(window.Grid().itemDelegate());
    QVERIFY(delegate != nullptr);
    const auto optionFor = [&](int row, int column) {
        QStyleOptionViewItem option;
        option.initFrom(window.Grid().viewport());
        option.rect = window.Grid().visualRect(window.Model().index(row, column));
        option.widget = &window.Grid();
        return option;
    };
    QVERIFY(delegate->NeedsFullTextHint(optionFor(0, 0), window.Model().index(0, 0)));
    QVERIFY(delegate->NeedsFullTextHint(optionFor(0, kCheckSumColumn),
                                        window.Model().index(0, kCheckSumColumn)));
    QVERIFY(!delegate->NeedsFullTextHint(optionFor(1, 0), window.Model().index(1, 0)));
    QVERIFY(!delegate->NeedsFullTextHint(optionFor(0, kFileSizeColumn),
                                         window.Model().index(0, kFileSizeColumn)));
}

void FrmQueryResultsTest::columnMenuHidesButKeepsOneColumn() {
    TfrmQueryResults window;
    {
        QMenu menu;
        window.FillColumnMenu(menu);
        QCOMPARE(menu.actions().size(), 12);
        QCOMPARE(menu.actions()[4]->text(), QString("Check Sum"));
        menu.actions()[4]->trigger();
        QVERIFY(window.Grid().isColumnHidden(kCheckSumColumn));
    }
    for (int column = 1; column < 12; ++column) {
        window.Grid().setColumnHidden(column, true);
    }
    QMenu menu;
    window.FillColumnMenu(menu);
    QVERIFY(!menu.actions()[0]->isEnabled());
    QVERIFY(menu.actions()[4]->isEnabled());
    menu.actions()[4]->trigger();
    QVERIFY(!window.Grid().isColumnHidden(kCheckSumColumn));
}

void FrmQueryResultsTest::buttonsWithoutActionChangeNothing() {
    TfrmQueryResults window;
    Load(window, {Row("a"), Row("b")});
    window.Show();
    AbortRequested = false;
    for (const char* name : {"btnDelete", "btnRefresh", "btnAbort"}) {
        window.Grid().selectAll();
        QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
        QCOMPARE(window.Model().rowCount(), 2);
        QVERIFY(window.isVisible());
    }
    window.mnuDeleteselecteditemsClick();
    QCOMPARE(window.Model().rowCount(), 2);
    QVERIFY(AbortRequested);
    AbortRequested = false;
}

void FrmQueryResultsTest::jobOnOtherThreadFillsGridThroughSink() {
    TfrmQueryResults window;
    Load(window, {Row("stale")});
    TWindowThreadGridSink sink(&window.Model());
    std::atomic<bool> done{false};
    std::atomic<int> rowsSeenByJob{-1};
    std::thread job([&] {
        sink.ClearRows();
        rowsSeenByJob = window.Model().rowCount();
        std::vector<ResultRow> batch{Row("a"), Row("b")};
        sink.AppendRows(batch);
        std::vector<ResultRow> second{Row("c")};
        sink.AppendRows(second);
        done = true;
    });
    QTRY_VERIFY(done.load());
    job.join();
    QCOMPARE(rowsSeenByJob.load(), 0);
    QCOMPARE(ColumnTexts(window, 0), (QStringList{"a", "b", "c"}));
}

void FrmQueryResultsTest::freshRowsClearTheSortIndicator() {
    TfrmQueryResults window;
    Load(window, {Row("b", "0", "2"), Row("a", "0", "1")});
    window.SortByCheckSum();
    Load(window, {Row("z"), Row("y")});
    QCOMPARE(window.Grid().horizontalHeader()->sortIndicatorSection(), -1);
    QCOMPARE(ColumnTexts(window, 0), (QStringList{"z", "y"}));
}

void FrmQueryResultsTest::typingSearchesFullPath() {
    TfrmQueryResults window;
    Load(window,
         {Row("/alpha", "0", "zeta"), Row("/beta", "0", "/gamma"), Row("/gamma", "0", "x")});
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Grid().setCurrentIndex(window.Model().index(0, kCheckSumColumn));
    window.Grid().keyboardSearch("/gam");
    QCOMPARE(window.Grid().currentIndex().row(), 2);
}

QTEST_MAIN(FrmQueryResultsTest)
#include "frm_query_results_test.moc"
