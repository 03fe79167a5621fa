#include "results/frm_query_results.h"
#include "results/full_text_hint_delegate.h"
#include "results/result_grid_model.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_storage.h"

#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

// The column's texts in ascending order as the view shows them after a header click, whichever
// direction that click chose.
QStringList AscendingAfterHeaderClick(TfrmQueryResults& window, int column) {
    QHeaderView* header = window.Grid().horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QStringList texts;
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        texts << window.Model().CellText(row, column);
    }
    if (header->sortIndicatorOrder() == Qt::DescendingOrder) {
        std::reverse(texts.begin(), texts.end());
    }
    return texts;
}

} // namespace

class FrmQueryResultsTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsKeepTheirPlaceFromTheRightEdge();
    void headerClickSortsByColumnKind();
    void sortingKeepsSelectedRows();
    void checkSumSortAndBandColours();
    void closingEmptiesAndReopeningShowsEmpty();
    void showModalOnVisibleWindowFails();
    void columnWidthSurvivesARestart();
    void hintOnlyWhereTextDoesNotFit();
    void columnMenuHidesButKeepsOneColumn();
    void buttonsWithoutActionChangeNothing();
    void freshRowsClearTheSortIndicator();
    void typingSearchesFullPath();
    void savedListsHoldTheRowsInGridOrder();
};

void FrmQueryResultsTest::buttonsKeepTheirPlaceFromTheRightEdge() {
    TfrmQueryResults window;
    window.Show();
    window.resize(1000, 400);
    QTRY_COMPARE(window.findChild<QPushButton*>("btnClose")->geometry().right(),
                 window.findChild<QWidget*>("pnlBottom")->width() - 15);
    QCOMPARE(window.findChild<QPushButton*>("btnDelete")->x(),
             window.findChild<QPushButton*>("btnClose")->x() - 282);
}

void FrmQueryResultsTest::headerClickSortsByColumnKind() {
    TfrmQueryResults window;
    Load(window, {Row("a", "100", "", "2015-03-15 10:30:00"), Row("b", "9", "", "2015-03-15"),
                  Row("c", "5000000000", "", "2009-12-31 23:59:59"), Row("d", "20", "", "")});
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(AscendingAfterHeaderClick(window, kFileSizeColumn),
             (QStringList{"9", "20", "100", "5000000000"}));
    QCOMPARE(AscendingAfterHeaderClick(window, kDateAccessedColumn),
             (QStringList{"", "2009-12-31 23:59:59", "2015-03-15", "2015-03-15 10:30:00"}));
}

void FrmQueryResultsTest::sortingKeepsSelectedRows() {
    TfrmQueryResults window;
    Load(window, {Row("c"), Row("a"), Row("b")});
    window.Grid().selectRow(0);
    window.Model().sort(0, Qt::AscendingOrder);
    const QModelIndexList selected = window.Grid().selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0].row(), 2);
    QCOMPARE(selected[0].data().toString(), QString("c"));
}

void FrmQueryResultsTest::checkSumSortAndBandColours() {
    TfrmQueryResults window;
    Load(window, {Row("1", "0", "B"), Row("2", "0", "A"), Row("3", "0", "B")});
    window.SortByCheckSum();
    window.ShadeDuplicateGroups();
    QCOMPARE(window.Grid().horizontalHeader()->sortIndicatorSection(), int(kCheckSumColumn));
    const QColor peach(255, 233, 185);
    const QList<QColor> expected{peach, Qt::white, Qt::white};
    for (int row = 0; row < 3; ++row) {
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
    QVERIFY(window.isVisible() && !window.isModal());
    QCOMPARE(window.Model().rowCount(), 1);
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
        // A hidden column is saved with the width it comes back with.
        window.Grid().setColumnHidden(0, true);
        window.close();
        window.Grid().setColumnWidth(kCheckSumColumn, 99); // after the close: not saved
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
    // A stored width of 0 would lose the column for good; it is ignored.
    QVERIFY(restarted.findChild<QObject*>("fldFileName")->setProperty("Width", 0));
    QCOMPARE(restarted.Grid().columnWidth(1), 80);
}

void FrmQueryResultsTest::hintOnlyWhereTextDoesNotFit() {
    TfrmQueryResults window;
    const QString longText(300, QChar('w'));
    Load(window, {Row(longText, "123456789012345678"), Row("x")});
    window.Grid().setColumnWidth(kFileSizeColumn, 10);
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* delegate = qobject_cast<TFullTextHintDelegate*>(window.Grid().itemDelegate());
    QVERIFY(delegate != nullptr);
    const auto needsHint = [&](int row, int column) {
        QStyleOptionViewItem option;
        option.initFrom(window.Grid().viewport());
        option.rect = window.Grid().visualRect(window.Model().index(row, column));
        option.widget = &window.Grid();
        return delegate->NeedsFullTextHint(option, window.Model().index(row, column));
    };
    QVERIFY(needsHint(0, 0));
    QVERIFY(!needsHint(1, 0));
    QVERIFY(!needsHint(0, kFileSizeColumn));
}

void FrmQueryResultsTest::columnMenuHidesButKeepsOneColumn() {
    TfrmQueryResults window;
    for (int column = 1; column < 12; ++column) {
        QMenu menu;
        window.FillColumnMenu(menu);
        QCOMPARE(menu.actions().size(), 12);
        menu.actions()[column]->trigger();
    }
    QMenu menu;
    window.FillColumnMenu(menu);
    QCOMPARE(menu.actions()[4]->text(), QString("Check Sum"));
    QVERIFY(window.Grid().isColumnHidden(kCheckSumColumn));
    QVERIFY(!menu.actions()[0]->isEnabled());
    menu.actions()[4]->trigger();
    QVERIFY(!window.Grid().isColumnHidden(kCheckSumColumn));
}

void FrmQueryResultsTest::buttonsWithoutActionChangeNothing() {
    // A window that no program has wired yet: Refresh and Delete have nothing to run, Abort only
    // raises its flag.
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

void FrmQueryResultsTest::freshRowsClearTheSortIndicator() {
    TfrmQueryResults window;
    Load(window, {Row("b", "0", "2"), Row("a", "0", "1")});
    window.SortByCheckSum();
    Load(window, {Row("z"), Row("y")});
    QCOMPARE(window.Grid().horizontalHeader()->sortIndicatorSection(), -1);
    QCOMPARE(window.Model().CellText(0, 0), QString("z"));
}

void FrmQueryResultsTest::typingSearchesFullPath() {
    TfrmQueryResults window;
    Load(window, {Row("/alpha", "0", "zeta"), Row("/beta", "0", "/gamma"), Row("/gamma")});
    window.Show();
    window.Grid().setCurrentIndex(window.Model().index(0, kCheckSumColumn));
    window.Grid().keyboardSearch("/gam");
    QCOMPARE(window.Grid().currentIndex().row(), 2);
}

namespace {

// Splits RFC 4180 text into records of fields, read apart from the writer's own rules.
std::vector<QStringList> ReadCsv(const QByteArray& text) {
    std::vector<QStringList> records(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += QChar::fromLatin1(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back() << field;
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.back() << field;
            field.clear();
            records.emplace_back();
            ++i;
        } else {
            field += QChar::fromLatin1(c);
        }
    }
    records.pop_back(); // after the last line end
    return records;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void FrmQueryResultsTest::savedListsHoldTheRowsInGridOrder() {
    TfrmQueryResults window;
    Load(window, {Row("/b/plain", "10"), Row("/a/comma, \"quote\"", "2"), Row("/c/line\nfeed", "3"),
                  Row("/d/tab\there", "1")});
    window.Model().sort(kFileSizeColumn, Qt::AscendingOrder);
    QTemporaryDir folder;
    const QString csv = folder.filePath("list.csv");
    const QString tsv = folder.filePath("list.tsv");
    QString asked = csv;
    window.ChooseListFile = [&asked](OutputFormat& format) {
        format = asked.endsWith(".csv") ? OutputFormat::Csv : OutputFormat::Tsv;
        return asked;
    };
    QTest::mouseClick(window.findChild<QPushButton*>("btnSaveList"), Qt::LeftButton);
    asked = tsv;
    window.btnSaveListClick();
    QCOMPARE(window.StatusText(), "4 files saved to " + tsv);

    const std::vector<QStringList> records = ReadCsv(ReadFile(csv));
    QCOMPARE(records.size(), 5u);
    QCOMPARE(records[0].first(), QString("fldFullPath"));
    QStringList paths;
    for (std::size_t i = 1; i < records.size(); ++i) {
        QCOMPARE(records[i].size(), 12);
        paths << records[i][0];
    }
    QCOMPARE(paths,
             (QStringList{"/d/tab\there", "/a/comma, \"quote\"", "/c/line\nfeed", "/b/plain"}));
    QCOMPARE(ReadFile(tsv).split('\n').size(), 6); // header, four rows, the empty end
    QVERIFY(ReadFile(tsv).contains("/c/line\\nfeed\t"));

    // A folder that does not exist: the status says so and nothing is written.
    QVERIFY(!window.SaveList(folder.filePath("missing/list.csv"), OutputFormat::Csv));
    QVERIFY(window.StatusText().startsWith("Cannot write "));
}

QTEST_MAIN(FrmQueryResultsTest)
#include "frm_query_results_test.moc"
