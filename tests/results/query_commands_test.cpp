#include "catalog/local_clock.h"
#include "query/month_shift.h"
#include "results/frm_query_results.h"
#include "results/query_commands.h"
#include "results/result_grid_model.h"
#include "tests/query/test_catalog.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <atomic>
#include <exception>
#include <thread>

using namespace mirelon;

namespace {

// Stands in for the main window: records the status calls and runs each job on a worker thread
// while this thread keeps handling events, as the helper thread does.
class TFakeMainWindow {
public:
    TFakeMainWindow(TfrmQueryResults& results, TSQLiteDatabase* catalog)
        : catalog_(catalog),
          commands_(TQueryCommandHost{
                        [this](bool busy, const QString& first, const QString& second) {
                            statuses
                                << QString("%1|%2|%3").arg(busy ? "busy" : "idle", first, second);
                        },
                        [this](std::string_view task) { return RunJob(task); },
                        [this] { return months; }},
                    results) {}

    TQueryCommands& Commands() { return commands_; }

    QStringList statuses;
    QStringList tasks;
    int months = 12;

private:
    std::string RunJob(std::string_view task) {
        tasks << QString::fromUtf8(task.data(), static_cast<qsizetype>(task.size()));
        std::string failure;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            try {
                if (task == kTaskFindDuplicateFiles) {
                    commands_.FindDuplicateFiles(catalog_);
                } else if (task == kTaskFindOldFiles) {
                    commands_.FindOldFiles(catalog_);
                } else if (task == kTaskUnusedDlls) {
                    commands_.FindUnusedDlls(catalog_);
                }
            } catch (const std::exception& error) {
                failure = error.what();
            }
            done = true;
        });
        while (!done) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        worker.join();
        return failure;
    }

    TSQLiteDatabase* catalog_;
    TQueryCommands commands_;
};

QStringList ColumnTexts(TfrmQueryResults& window, int column) {
    QStringList texts;
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        texts << window.Model().CellText(row, column);
    }
    return texts;
}

void LoadStaleRow(TfrmQueryResults& window) {
    std::vector<ResultRow> rows(1);
    rows[0][0] = "stale";
    window.Model().AppendRows(rows);
}

} // namespace

class QueryCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void duplicateSearchSortsBandsAndShows();
    void searchWithoutResultEmptiesGridAndSaysSo();
    void oldFilesUseTheMonthsOfTheWindow();
    void missingCatalogReportsAndKeepsTheGrid();
};

void QueryCommandsTest::duplicateSearchSortsBandsAndShows() {
    TTestCatalog catalog;
    int file = 0;
    for (const char* checkSum : {"cc", "aa", "bb", "cc", "bb", "aa", "bb", "unique", "", ""}) {
        catalog.Insert({"/f" + std::to_string(file++), checkSum});
    }
    TfrmQueryResults results;
    TFakeMainWindow main(results, &catalog.Database());
    main.Commands().btnDuplicateFilesClick();

    QCOMPARE(main.tasks, QStringList{"Find Duplicate Files"});
    // Without options every duplicate is shown, and the status says so.
    QCOMPARE(main.statuses, (QStringList{"busy|Wait|Searching ...",
                                         "idle|Ready|No filters — set them under Options"}));
    QCOMPARE(ColumnTexts(results, kCheckSumColumn),
             (QStringList{"aa", "aa", "bb", "bb", "bb", "cc", "cc"}));
    QCOMPARE(results.Model().RowColour(2), BandColour::White);
    QCOMPARE(results.Model().RowColour(6), BandColour::Peach);
    QVERIFY(results.isVisible());
    QVERIFY(!results.isModal());
}

void QueryCommandsTest::searchWithoutResultEmptiesGridAndSaysSo() {
    TTestCatalog catalog;
    catalog.Insert({"/only", "aa"});
    TfrmQueryResults results;
    LoadStaleRow(results);
    TFakeMainWindow main(results, &catalog.Database());
    main.Commands().btnDuplicateFilesClick();

    QCOMPARE(results.Model().rowCount(), 0);
    QCOMPARE(main.statuses.last(),
             QString("idle|Ready|No matching files found. No filters — set them under Options"));
    QVERIFY(results.isVisible());
}

void QueryCommandsTest::oldFilesUseTheMonthsOfTheWindow() {
    TTestCatalog catalog;
    const TDateTime now = NowLocal();
    catalog.Insert({"/two-months", "a", DateText(ShiftMonths(now, -2))});
    catalog.Insert({"/today", "b", DateText(now)});
    catalog.Insert({"/eleven-years", "c", DateText(ShiftMonths(now, -132))});
    TfrmQueryResults results;
    TFakeMainWindow main(results, &catalog.Database());
    main.months = 1;
    main.Commands().btnOldFilesClick();

    QCOMPARE(main.tasks, QStringList{"Find Old Files"});
    QCOMPARE(ColumnTexts(results, 0), QStringList{"/two-months"});
    QCOMPARE(main.statuses.last(), QString("idle|Ready|"));
    QCOMPARE(results.Grid().horizontalHeader()->sortIndicatorSection(), -1);
}

void QueryCommandsTest::missingCatalogReportsAndKeepsTheGrid() {
    TfrmQueryResults results;
    LoadStaleRow(results);
    TFakeMainWindow main(results, nullptr);
    main.Commands().btnOldFilesClick();

    QCOMPARE(main.statuses.last(), QString("idle|Ready|The catalog is not open."));
    QCOMPARE(ColumnTexts(results, 0), QStringList{"stale"});
}

QTEST_MAIN(QueryCommandsTest)
#include "query_commands_test.moc"
