#pragma once

#include <QWidget>

#include <atomic>

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

// Set by the results window's Abort button; nothing reads it yet.
extern std::atomic<bool> AbortRequested;

// The one window that shows query results. Created once and only hidden when closed; closing
// empties the grid. The queries fill grdFiles through Model(). With a settings store, the column
// widths and the placement are loaded on creation and saved on each close.
class TfrmQueryResults : public QWidget {
    Q_OBJECT

public:
    explicit TfrmQueryResults(QWidget* parent = nullptr, TrsStorage* settings = nullptr);

    TResultGridModel& Model() { return *model_; }
    QTableView& Grid() { return *grdFiles; }

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
    void btnDeleteClick();
    void btnAbortClick();
    void mnuDeleteselecteditemsClick();
    void tmrProgressBarTimer();

signals:
    void Hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormClose();
    void BuildGrid();
    void BuildBottomPanel();
    void BuildStatusBar();
    void PlaceBottomButtons();
    void AttachPropSaver(TrsStorage* settings);

    TResultGridModel* model_;
    QTableView* grdFiles;
    QWidget* pnlBottom;
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
    TrsPropSaver* rsPropSaver1 = nullptr;
};

} // namespace mirelon
