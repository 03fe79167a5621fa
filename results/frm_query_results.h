#pragma once

#include "cleanup/file_removal.h"
#include "cleanup/keep_rules.h"
#include "output/table_writer.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;
class QTimer;

namespace mirelon {

class TResultGridModel;
class TrsPropSaver;
class TrsStorage;

// Set by the results window's Abort button; a removal of files stops at the next file.
extern std::atomic<bool> AbortRequested;

// The one window that shows query results. Created once and only hidden when closed; closing
// empties the grid. The queries fill grdFiles through Model(). With a settings store, the column
// widths and the placement are loaded on creation and saved on each close.
//
// The clean-up happens here: Delete (the button, the Delete key, the grid's menu) moves the
// selected files to the trash after a confirmation, or with Shift held deletes them; "Select
// duplicates" selects all but one file of each group; Refresh runs the last search again; the
// list can be saved as CSV or TSV.
class TfrmQueryResults : public QWidget {
    Q_OBJECT

public:
    explicit TfrmQueryResults(QWidget* parent = nullptr, TrsStorage* settings = nullptr);

    TResultGridModel& Model() { return *model_; }
    QTableView& Grid() { return *grdFiles; }

    // Runs the removal job over the catalog and returns one outcome per file it handled, fewer
    // when it was stopped or could not start.
    using RemovalRunner = std::function<std::vector<RemovalOutcome>(
        const std::vector<FileRecord>& files, RemovalKind kind)>;
    RemovalRunner RunRemoval;
    // Runs the window's last search again.
    std::function<void()> OnRefresh;
    // Where the user's choices come from; tests answer them instead. Empty text: cancelled.
    std::function<QString()> ChooseKeepFolder;
    std::function<QString(OutputFormat& format)> ChooseListFile;

    // The rows are those of a duplicate search, grouped by checksum and, with sameName, by name;
    // nothing for the other searches, which have no groups.
    void SetDuplicateGrouping(std::optional<bool> sameName);
    // While a job holds the catalog, the commands that need it wait.
    void SetJobRunning(bool running);
    // The status area's text, with a hint for the details.
    void ShowStatus(const QString& text, const QString& hint = {});
    QString StatusText() const;
    QString StatusHint() const;
    // The selected rows, in grid order.
    std::vector<int> SelectedRows() const;

    // Shows without modality, or brings the window to the front when it already shows.
    void Show();
    // Shows modally and returns when the window has been closed. Throws std::runtime_error
    // "Cannot make a visible window modal" when the window is already showing.
    void ShowModal();

    // Makes fldCheckSum the sort column, sorting the rows ascending by checksum.
    void SortByCheckSum();
    void ShadeDuplicateGroups();

    // Fills a menu with one checkable entry per column that shows or hides it.
    void FillColumnMenu(QMenu& menu);

    void btnCloseClick();
    // Delete, or with Shift held delete for good.
    void btnDeleteClick();
    void DeleteSelected(bool permanently);
    void btnRefreshClick();
    void btnAbortClick();
    void mnuDeleteselecteditemsClick();
    // Selects in each group every file but the ones the rule keeps (InsideFolder asks which
    // folder); the selection stays for review.
    void SelectDuplicates(KeepRule rule);
    void SelectDuplicatesInside(const QString& folder);
    void mnuOpenFolderClick();
    void mnuCopyPathClick();
    void btnSaveListClick();
    // Writes the rows shown, in the grid's order; false with the reason in the status.
    bool SaveList(const QString& file, OutputFormat format);
    void tmrProgressBarTimer();

signals:
    void Hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    // The rows as the keep rules see them: path, modified date and group.
    std::vector<DuplicateCandidate> Candidates() const;
    // Asks before the files go; false when the user cancelled. Leaves out the rows of groups
    // the user chose to keep whole.
    bool ConfirmRemoval(std::vector<int>& rows, bool permanently);
    void RemoveRows(const std::vector<int>& rows, bool permanently);
    void SelectRows(const std::vector<bool>& selected);
    void FormClose();
    void BuildGrid();
    void BuildBottomPanel();
    void BuildStatusBar();
    void PlaceBottomButtons();
    void AttachPropSaver(TrsStorage* settings);

    TResultGridModel* model_;
    QTableView* grdFiles;
    QWidget* pnlBottom;
    QPushButton* btnSaveList;
    QPushButton* btnSelectDuplicates;
    QPushButton* btnDelete;
    QPushButton* btnRefresh;
    QPushButton* btnAbort;
    QPushButton* btnClose;
    QStatusBar* StatusBar;
    QLabel* sbGlyph;
    QLabel* sbCaption;
    QProgressBar* ProgressBar;
    QTimer* tmrProgressBar;
    QMenu* pmGrid;
    QMenu* pmSelectDuplicates;
    QAction* mnuDeleteselecteditems;
    QAction* mnuRefresh;
    TrsPropSaver* rsPropSaver1 = nullptr;
    std::optional<bool> duplicateGrouping_;
    bool jobRunning_ = false;
};

} // namespace mirelon
