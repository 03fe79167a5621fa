#pragma once

#include "session/task_dispatcher.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QStatusBar;
class QTimer;
class QVBoxLayout;

namespace mirelon {

class TBlinkingLabel;
class TNavigationBar;
class TThreadEx;
class TThreadExObject;
struct TShellState;

// The main window: navigation bar, explanatory pages, Exit, and the three-pane status area.
// Every long job starts here and runs on thHelperThread through the task dispatcher.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 544;
    static constexpr int kClientHeight = 366;

    explicit TfrmMain(TShellState& state, QWidget* parent = nullptr);
    // Lets a running job end before the catalog goes.
    ~TfrmMain() override;

    // Lamp, first pane, second pane, blinking, bold: in this order.
    void SetStatus(bool busy, const QString& first, const QString& second);
    // The idle status after a job: "Ready", or the job's failure text.
    void SetIdleStatus(const std::string& failure);

    // Runs the job of taskName on thHelperThread; the window stays responsive meanwhile, with
    // the commands that would start another job disabled. Returns the job's failure text,
    // empty when it succeeded.
    std::string RunJob(std::string_view taskName);
    bool JobRunning() const;

    // True when the catalog is open; otherwise tells the user why not.
    bool RequireCatalog();

    // Shows a message to the user; tests and unattended runs replace how.
    void ShowMessage(const QString& text);
    void SetMessageSink(std::function<void(const QString&)> sink);

    TShellState& State() { return state_; }
    TTaskDispatcher& Dispatcher() { return dispatcher_; }
    TThreadEx& HelperThread();
    int GlyphIndex() const { return glyphIndex_; }
    bool CloseRequested() const { return closeRequested_; }

    // Filled in by the subsystems that own these commands. "Scan Now", while a scan runs,
    // is the scan's abort button, so OnScanNow is called then too.
    std::function<void()> OnScanNow;
    std::function<void()> OnScanOptions;
    std::function<void()> OnShowOldFiles;
    std::function<void()> OnShowDuplicateFiles;
    std::function<void()> OnDuplicateFilesOptions;
    std::function<void()> OnShowUnusedDlls;
    // Asks the running job to stop, as its own abort command would; used before closing.
    std::function<void()> RequestJobStop;

    TNavigationBar* navMain = nullptr;
    QStackedWidget* pcMain = nullptr;
    QGroupBox* gbLastScanned = nullptr;
    QLabel* lblLastScanned = nullptr;
    QPushButton* btnScan = nullptr;
    QPushButton* btnScanOptions = nullptr;
    QGroupBox* gbFindFilesOlderThan = nullptr;
    QSpinBox* seMonths = nullptr;
    QPushButton* btnOldFiles = nullptr;
    QPushButton* btnDuplicateFiles = nullptr;
    QPushButton* btnDuplicateFilesOptions = nullptr;
    QPushButton* btnUnusedDlls = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnExit = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* sbGlyph = nullptr;
    QLabel* sbCaption1 = nullptr;
    TBlinkingLabel* sbCaption2 = nullptr;
    QTimer* tmrAfterShow = nullptr;
    TThreadExObject* thHelperThread = nullptr;

signals:
    // The start-up catalog job has ended, whatever its outcome.
    void StartupJobFinished();
    // A job took the catalog (true) or gave it back (false).
    void JobRunningChanged(bool running);
    // The window has closed, and every other window of the program with it; the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildNavigation();
    void BuildPages();
    void BuildBottomBar();
    void BuildStatusBar();
    // Adds a page with its header bar and text; returns the layout below the text.
    QVBoxLayout* AddPage(const QString& objectName, const QString& title, const QString& text);

    void FormShow();
    bool FormCloseQuery();
    void HideOtherWindows();
    void tmrAfterShowTimer();
    void navMainChange(int index);
    void btnScanClick();
    void btnScanOptionsClick();
    void btnOldFilesClick();
    void btnDuplicateFilesClick();
    void btnDuplicateFilesOptionsClick();
    void btnUnusedDllsClick();
    void btnExitClick();
    void thHelperThreadExecute(TThreadEx& sender);

    TShellState& state_;
    TTaskDispatcher dispatcher_;
    std::array<QPixmap, 2> lamps_;
    int glyphIndex_ = 1;
    int jobDepth_ = 0;
    bool closeRequested_ = false;
    std::function<void(const QString&)> messageSink_;
};

} // namespace mirelon
