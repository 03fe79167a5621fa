// The clean-up in the results window of the whole program: Delete through its dialogs and the
// real removal job on files and a catalog made here, Select duplicates, Refresh, and the
// commands waiting while a job holds the catalog.
#include "app/app_windows.h"
#include "app/qt_window_thread.h"
#include "exclusions/frm_excluded_folders.h"
#include "exclusions/item_identity.h"
#include "hash/hash_service.h"
#include "panels/frm_duplicate_files_options.h"
#include "panels/inspector_rows.h"
#include "results/frm_query_results.h"
#include "results/result_grid_model.h"
#include "session/shell_state.h"
#include "session/task_names.h"
#include "tests/query/test_catalog.h"
#include "tests/support/test_trash.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace mirelon;

namespace {

namespace fs = std::filesystem;

// Answers each message box as it comes up, in order: presses the named button, or Enter
// ("Return") as a user who takes the default would. Keeps each box's text and default button.
class TBoxAnswers : public QObject {
public:
    explicit TBoxAnswers(QStringList buttons) : buttons_(std::move(buttons)) {
        connect(&poll_, &QTimer::timeout, this, &TBoxAnswers::Poll);
        poll_.start(5);
    }
    QStringList texts;
    QStringList defaults;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || buttons_.isEmpty()) {
            return;
        }
        texts << box->text();
        defaults << (box->defaultButton() != nullptr ? box->defaultButton()->text() : QString());
        const QString answer = buttons_.takeFirst();
        if (answer == "Return") {
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        auto* button = box->findChild<QPushButton*>(answer);
        if (button == nullptr) {
            box->reject();
            return;
        }
        button->click();
    }

    QStringList buttons_;
    QTimer poll_;
};

// The program's windows over a catalog of files written here, and a trash of the test's own.
class TCleanupFixture {
public:
    TCleanupFixture() : trash_(catalog.Folder().string() + "/data") {
        state.DataDirectory = catalog.Folder().string() + "/";
        windows = CreateAppWindows(state);
        windows.frmMain->tmrAfterShow->stop();
        results = qobject_cast<TfrmQueryResults*>(windows.frmQueryResults.get());
    }

    ~TCleanupFixture() {
        if (results != nullptr) {
            results->close();
        }
    }

    // Writes the file and catalogues it with its MD5 checksum.
    std::string File(const std::string& relative, const std::string& content,
                     const std::string& modified = "2004-05-06 07:08:09") {
        const fs::path path = catalog.Folder() / "tree" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        std::string checkSum;
        HashFile(HashMethodByName("MD5"), path.string(), checkSum);
        TTestCatalog::Row row;
        row.fullPath = path.string();
        row.checkSum = checkSum;
        row.fileSize = std::to_string(content.size());
        row.dateModified = modified;
        catalog.Insert(row);
        return path.string();
    }

    // Opens the catalog for the program, as "Create Database" would.
    void Open() {
        state.CatalogDatabase =
            std::make_unique<TSQLiteDatabase>((catalog.Folder() / "files.db").string());
    }

    void Search() { windows.frmMain->btnDuplicateFiles->click(); }

    QStringList Paths() const {
        QStringList paths;
        for (int row = 0; row < results->Model().rowCount(); ++row) {
            paths << results->Model().CellText(row, kFullPathColumn);
        }
        return paths;
    }

    // The path of a row as the catalog holds it, bytes that are not UTF-8 included.
    std::string PathAt(int row) const {
        return std::string(
            results->Model().Store().Text(static_cast<std::size_t>(row), kFullPathColumn));
    }

    bool Shows(const std::string& path) const {
        for (int row = 0; row < results->Model().rowCount(); ++row) {
            if (PathAt(row) == path) {
                return true;
            }
        }
        return false;
    }

    void Select(const std::vector<std::string>& paths) {
        results->Grid().clearSelection();
        for (int row = 0; row < results->Model().rowCount(); ++row) {
            if (std::find(paths.begin(), paths.end(), PathAt(row)) != paths.end()) {
                results->Grid().selectionModel()->select(results->Model().index(row, 0),
                                                         QItemSelectionModel::Select |
                                                             QItemSelectionModel::Rows);
            }
        }
    }

    QStringList SelectedPaths() const {
        QStringList paths;
        for (const int row : results->SelectedRows()) {
            paths << results->Model().CellText(row, kFullPathColumn);
        }
        return paths;
    }

    int64_t CatalogRows() {
        return state.CatalogDatabase->OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0);
    }

    TTestCatalog catalog;
    test::TTestTrash trash_;
    TShellState state;
    TAppWindows windows;
    TfrmQueryResults* results = nullptr;
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class ResultsCleanupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallQtWindowThread(); }
    void deleteMovesTheSelectedFilesToTheTrashAndCancelKeepsThem();
    void theLastCopyOfAGroupIsKeptUnlessTheUserInsists();
    void shiftDeleteDeletesForGoodAndAChangedFileStays();
    void rowsAreFoundAgainWhenTheGridChangedDuringTheRemoval();
    void selectDuplicatesKeepOldestSelectsAllButTheOldest();
    void refreshShowsAFileCataloguedSinceAndHonoursExcludedFolders();
    void commandsWaitWhileAJobHoldsTheCatalog();
};

void ResultsCleanupTest::deleteMovesTheSelectedFilesToTheTrashAndCancelKeepsThem() {
    TCleanupFixture fixture;
    const std::string a = fixture.File("a/x.txt", "same");
    const std::string b = fixture.File("b/x.txt", "same");
    // A line feed, quotes and a byte that is not UTF-8 in the path (the name stays, as the
    // options' "Same name" asks).
    const std::string odd = fixture.File("c/line\nfeed \"q\" \xff/x.txt", "same");
    const std::string gone = fixture.File("d/x.txt", "same");
    fixture.File("a/y.txt", "other");
    fixture.File("b/y.txt", "other");
    fixture.Open();
    fixture.Search();
    QCOMPARE(fixture.results->Model().rowCount(), 6);
    fs::remove(gone); // by hand, after the scan

    fixture.Select({b, odd, gone});
    {
        TBoxAnswers answers({"btnCancel"});
        QTest::mouseClick(fixture.results->findChild<QPushButton*>("btnDelete"), Qt::LeftButton);
        QCOMPARE(answers.texts, QStringList{"Move 3 files (0.0 MB) to the trash?"});
    }
    QCOMPARE(fixture.results->Model().rowCount(), 6);
    QVERIFY(fs::exists(b) && fs::exists(odd));
    QCOMPARE(fixture.CatalogRows(), 6);

    {
        // Enter takes the default, the trash.
        TBoxAnswers answers({"Return"});
        QTest::keyClick(&fixture.results->Grid(), Qt::Key_Delete);
        QCOMPARE(answers.defaults, QStringList{"Move to trash"});
    }
    QCOMPARE(fixture.results->Model().rowCount(), 4);
    QVERIFY(!fixture.Shows(b) && !fixture.Shows(odd) && fixture.Shows(gone));
    QVERIFY(!fs::exists(b) && !fs::exists(odd) && fs::exists(a));
    QVERIFY(fixture.trash_.EntryFrom(b).has_value());
    const auto oddEntry = fixture.trash_.EntryFrom(odd);
    QVERIFY(oddEntry.has_value());
    QCOMPARE(oddEntry->content, std::string("same"));
    QCOMPARE(fixture.trash_.UnreadableRecords(), 0);
    QCOMPARE(fixture.CatalogRows(), 4);
    QCOMPARE(fixture.results->StatusText(),
             QString("2 files moved to the trash (0.0 MB); 1 failed"));
    // The file that was gone already keeps its row, selected, and the hint says why.
    QCOMPARE(fixture.SelectedPaths(), QStringList{Q(gone)});
    QVERIFY(fixture.results->StatusHint().contains(Q(gone) + ": "));
    // The bands follow the groups that are left: the colour changes where the checksum does.
    const TResultGridModel& model = fixture.results->Model();
    for (int row = 1; row < model.rowCount(); ++row) {
        QCOMPARE(model.RowColour(row) != model.RowColour(row - 1),
                 model.CellText(row, kCheckSumColumn) != model.CellText(row - 1, kCheckSumColumn));
    }
}

void ResultsCleanupTest::theLastCopyOfAGroupIsKeptUnlessTheUserInsists() {
    TCleanupFixture fixture;
    const std::string xa = fixture.File("a/x.txt", "same");
    const std::string xb = fixture.File("b/x.txt", "same");
    const std::string ya = fixture.File("a/y.txt", "other");
    const std::string yb = fixture.File("b/y.txt", "other");
    fixture.Open();
    fixture.Search();

    fixture.Select({xb, ya, yb});
    {
        // Enter at both questions: the trash, and the group keeps its files.
        TBoxAnswers answers({"Return", "Return"});
        fixture.results->DeleteSelected(false);
        QCOMPARE(answers.texts, (QStringList{"Move 3 files (0.0 MB) to the trash?",
                                             "1 group would lose every copy."}));
        QCOMPARE(answers.defaults, (QStringList{"Move to trash", "Keep them"}));
    }
    QVERIFY(!fs::exists(xb));
    QVERIFY(fs::exists(ya) && fs::exists(yb) && fs::exists(xa));
    QCOMPARE(fixture.CatalogRows(), 3);
    QVERIFY(fixture.trash_.EntryFrom(xb).has_value());

    fixture.Select({ya, yb});
    {
        TBoxAnswers answers({"btnConfirm", "btnCancel"});
        fixture.results->DeleteSelected(false);
        QCOMPARE(answers.texts.size(), 2);
    }
    QVERIFY(fs::exists(ya) && fs::exists(yb));
    QCOMPARE(fixture.CatalogRows(), 3);

    {
        TBoxAnswers answers({"btnConfirm", "btnRemoveEveryCopy"});
        fixture.results->DeleteSelected(false);
        QCOMPARE(answers.texts.size(), 2);
    }
    QVERIFY(!fs::exists(ya) && !fs::exists(yb));
    QCOMPARE(fixture.Paths(), QStringList{Q(xa)});
}

void ResultsCleanupTest::shiftDeleteDeletesForGoodAndAChangedFileStays() {
    TCleanupFixture fixture;
    const std::string a = fixture.File("a/x.txt", "same");
    const std::string b = fixture.File("b/x.txt", "same");
    const std::string c = fixture.File("c/x.txt", "same");
    fixture.Open();
    fixture.Search();
    std::ofstream(c, std::ios::binary) << "SAME"; // same size, other bytes

    fixture.Select({b, c});
    {
        // With Shift held the button asks about deleting for good, and Enter does not do it.
        TBoxAnswers answers({"Return"});
        QTest::mouseClick(fixture.results->findChild<QPushButton*>("btnDelete"), Qt::LeftButton,
                          Qt::ShiftModifier);
        QCOMPARE(answers.texts, QStringList{"Delete 2 files (0.0 MB) permanently?"});
        QCOMPARE(answers.defaults, QStringList{"Cancel"});
    }
    QVERIFY(fs::exists(b) && fs::exists(c));
    QCOMPARE(fixture.CatalogRows(), 3);

    {
        TBoxAnswers answers({"btnConfirm"});
        QTest::keyClick(&fixture.results->Grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(answers.texts, QStringList{"Delete 2 files (0.0 MB) permanently?"});
    }
    QVERIFY(!fs::exists(b) && fs::exists(c) && fs::exists(a));
    QVERIFY(!fs::exists(fixture.trash_.Folder()));
    QCOMPARE(fixture.results->StatusText(), QString("1 file deleted (0.0 MB); 1 failed"));
    QVERIFY(fixture.results->StatusHint().contains(Q(c) + ": changed since the scan"));
    // The file that stayed keeps its row, selected for another look.
    QCOMPARE(fixture.SelectedPaths(), QStringList{Q(c)});
    QCOMPARE(fixture.CatalogRows(), 2);
}

void ResultsCleanupTest::rowsAreFoundAgainWhenTheGridChangedDuringTheRemoval() {
    TCleanupFixture fixture;
    const std::string a = fixture.File("a/x.txt", "same");
    const std::string b = fixture.File("b/x.txt", "same");
    const std::string c = fixture.File("c/x.txt", "same");
    const std::string d = fixture.File("d/x.txt", "same");
    fixture.Open();
    fixture.Search();
    std::ofstream(d, std::ios::binary) << "SAME";
    TfrmQueryResults* results = fixture.results;

    // The window stays usable while the job runs: the user sorts the grid the other way round.
    const TfrmQueryResults::RemovalRunner job = results->RunRemoval;
    results->RunRemoval = [&](const std::vector<FileRecord>& files, RemovalKind kind) {
        results->Model().sort(kFullPathColumn, Qt::DescendingOrder);
        return job(files, kind);
    };
    fixture.Select({a, d});
    {
        TBoxAnswers answers({"btnConfirm"});
        results->DeleteSelected(false);
    }
    QVERIFY(!fs::exists(a) && fs::exists(b) && fs::exists(c) && fs::exists(d));
    QStringList expected{Q(d), Q(c), Q(b)};
    QCOMPARE(fixture.Paths(), expected);
    QCOMPARE(fixture.SelectedPaths(), QStringList{Q(d)});

    // Or closes the window, which empties the grid.
    results->RunRemoval = [&](const std::vector<FileRecord>& files, RemovalKind kind) {
        results->close();
        return job(files, kind);
    };
    fixture.Select({b});
    {
        TBoxAnswers answers({"btnConfirm"});
        results->DeleteSelected(false);
    }
    QVERIFY(!fs::exists(b));
    QCOMPARE(results->Model().rowCount(), 0);
    QCOMPARE(fixture.CatalogRows(), 2);
    QCOMPARE(results->StatusText(), QString("1 file moved to the trash (0.0 MB)"));
}

void ResultsCleanupTest::selectDuplicatesKeepOldestSelectsAllButTheOldest() {
    TCleanupFixture fixture;
    const std::string x1 = fixture.File("1/x.txt", "same", "2020-01-01");
    const std::string x2 = fixture.File("2/x.txt", "same", "2019-01-01 10:00:00");
    const std::string x3 = fixture.File("3/x.txt", "same", "2021-06-30");
    const std::string y1 = fixture.File("1/y.txt", "other", "2010-01-01");
    const std::string y2 = fixture.File("2/y.txt", "other", "2010-01-01");
    fixture.Open();
    fixture.Search();

    auto* keepOldest = fixture.results->findChild<QAction*>("mnuKeepOldest");
    QVERIFY(keepOldest != nullptr);
    keepOldest->trigger();
    QStringList selected = fixture.SelectedPaths();
    selected.sort();
    // x2 is the oldest copy; the y files tie, and the path that sorts first stays.
    QStringList expected{Q(x1), Q(x3), Q(y2)};
    expected.sort();
    QCOMPARE(selected, expected);
    QVERIFY(fixture.results->StatusText().startsWith("3 files selected"));
    // Nothing was removed: the rows are there for review.
    QCOMPARE(fixture.results->Model().rowCount(), 5);
    QVERIFY(fs::exists(x1));
    // Copy path puts the selected paths on the clipboard, one a line, in grid order.
    fixture.results->findChild<QAction*>("mnuCopyPath")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), fixture.SelectedPaths().join('\n'));

    // Keeping the ones inside folder 2 selects the others of each group; a group with no file
    // there would be left alone.
    const std::string x4 = fixture.File("3/more/x.txt", "a third group");
    const std::string x5 = fixture.File("1/more/x.txt", "a third group");
    fixture.results->btnRefreshClick();
    QCOMPARE(fixture.results->Model().rowCount(), 7);
    fixture.results->ChooseKeepFolder = [&] {
        return Q((fixture.catalog.Folder() / "tree" / "2").string());
    };
    fixture.results->findChild<QAction*>("mnuKeepInsideFolder")->trigger();
    selected = fixture.SelectedPaths();
    selected.sort();
    expected = QStringList{Q(x1), Q(x3), Q(y1)};
    expected.sort();
    QCOMPARE(selected, expected);
    QVERIFY(fixture.results->StatusText().contains("1 group has no file there"));
    QVERIFY(fs::exists(x4) && fs::exists(x5));
}

void ResultsCleanupTest::refreshShowsAFileCataloguedSinceAndHonoursExcludedFolders() {
    TCleanupFixture fixture;
    const std::string a = fixture.File("a/x.txt", "same");
    fixture.File("b/x.txt", "same");
    fixture.Open();
    fixture.Search();
    QCOMPARE(fixture.results->Model().rowCount(), 2);
    const std::string added = fixture.File("c/x.txt", "same");
    QTest::mouseClick(fixture.results->findChild<QPushButton*>("btnRefresh"), Qt::LeftButton);
    QCOMPARE(fixture.results->Model().rowCount(), 3);
    QVERIFY(fixture.Paths().contains(Q(added)));

    // A folder ticked in the duplicate-files exclusions, saved or not, leaves the search.
    auto* excluded = qobject_cast<TfrmDuplicateFiles_ExcludedFolders*>(
        fixture.windows.frmDuplicateFiles_ExcludedFolders.get());
    excluded->Store()->SetState({IdentityOfPath((fixture.catalog.Folder() / "tree/a").string())},
                                csCheckedNormal);
    fixture.results->btnRefreshClick();
    QCOMPARE(fixture.results->Model().rowCount(), 2);
    QVERIFY(!fixture.Shows(a));
}

void ResultsCleanupTest::commandsWaitWhileAJobHoldsTheCatalog() {
    TCleanupFixture fixture;
    fixture.File("a/x.txt", "same");
    fixture.File("b/x.txt", "same");
    fixture.Open();
    fixture.Search();
    auto* results = fixture.results;
    const auto enabled = [results](const char* name) {
        return results->findChild<QPushButton*>(name)->isEnabled();
    };
    QVERIFY(enabled("btnDelete") && enabled("btnRefresh") && enabled("btnSelectDuplicates"));

    // A job of its own that looks at the buttons while it holds the catalog.
    bool seenDisabled = false;
    fixture.windows.frmMain->Dispatcher().SetJob(kTaskUnusedDlls, [&](TThreadEx&) {
        QMetaObject::invokeMethod(
            results,
            [&] {
                seenDisabled = !enabled("btnDelete") && !enabled("btnRefresh") &&
                               !enabled("btnSelectDuplicates") && enabled("btnSaveList");
            },
            Qt::BlockingQueuedConnection);
    });
    fixture.windows.frmMain->RunJob(kTaskUnusedDlls);
    QVERIFY(seenDisabled);
    QVERIFY(enabled("btnDelete") && enabled("btnRefresh") && enabled("btnSelectDuplicates"));
}

QTEST_MAIN(ResultsCleanupTest)
#include "results_cleanup_test.moc"
