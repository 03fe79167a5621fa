// TfrmMain: start-up, the job protocol, the commands and closing.

#include "app/frm_main.h"

#include "app/thread_ex_object.h"
#include "session/shell_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMetaObject>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <utility>
#include <vector>

namespace mirelon {

namespace {

// Disables the commands that would start a second job, and restores them afterwards.
class TJobCommandLock {
public:
    TJobCommandLock(std::initializer_list<QPushButton*> buttons) {
        for (QPushButton* button : buttons) {
            saved_.emplace_back(button, button->isEnabled());
            button->setEnabled(false);
        }
    }
    ~TJobCommandLock() {
        for (const auto& [button, enabled] : saved_) {
            button->setEnabled(enabled);
        }
    }
    TJobCommandLock(const TJobCommandLock&) = delete;
    TJobCommandLock& operator=(const TJobCommandLock&) = delete;

private:
    std::vector<std::pair<QPushButton*, bool>> saved_;
};

} // namespace

TfrmMain::~TfrmMain() {
    // A job may still run after a quit request cut its wait short. Stop it and wait for it
    // before anything it uses goes, the catalog last.
    if (JobRunning() && RequestJobStop) {
        RequestJobStop();
    }
    delete thHelperThread;
    thHelperThread = nullptr;
    state_.CatalogDatabase.reset();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfrmMain::FormShow() {
    // The scan-running flag lives with the scan command, which starts idle; nothing to clear.
}

void TfrmMain::tmrAfterShowTimer() {
    if (!isVisible()) {
        return;
    }
    tmrAfterShow->stop();
    QCoreApplication::processEvents();
    SetStatus(true, QStringLiteral("Wait"), QStringLiteral("Loading Data ..."));
    const std::string failure = RunJob(kTaskCreateDatabase);
    SetIdleStatus(failure);
    if (!failure.empty()) {
        ShowMessage(QString::fromStdString(failure));
    }
    emit StartupJobFinished();
}

std::string TfrmMain::RunJob(std::string_view taskName) {
    if (JobRunning()) {
        return "Another job is still running.";
    }
    const bool scan = taskName == kTaskScanHarddisk;
    // During a scan "Scan Now" is its abort button.
    TJobCommandLock lock =
        scan ? TJobCommandLock{btnOldFiles, btnDuplicateFiles, btnUnusedDlls}
             : TJobCommandLock{btnScan, btnOldFiles, btnDuplicateFiles, btnUnusedDlls};
    ++jobDepth_;
    emit JobRunningChanged(true);
    state_.TaskName = std::string(taskName);
    HelperThread().Run();
    --jobDepth_;
    emit JobRunningChanged(false);
    if (closeRequested_) {
        // After the caller's follow-up steps, which run before queued events.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    return dispatcher_.TakeFailure();
}

bool TfrmMain::JobRunning() const {
    return jobDepth_ > 0 || thHelperThread->Thread().InProgress();
}

void TfrmMain::thHelperThreadExecute(TThreadEx& sender) {
    dispatcher_.Execute(state_.TaskName, sender);
}

bool TfrmMain::RequireCatalog() {
    if (state_.CatalogDatabase) {
        return true;
    }
    const std::string reason = state_.CatalogFailure.empty()
                                   ? std::string("it has not been loaded yet.")
                                   : state_.CatalogFailure;
    ShowMessage(QStringLiteral("The catalog is not open: ") + QString::fromStdString(reason));
    return false;
}

void TfrmMain::btnScanClick() {
    if (!JobRunning() && !RequireCatalog()) {
        return;
    }
    if (OnScanNow) {
        OnScanNow();
    }
}

void TfrmMain::btnScanOptionsClick() {
    if (OnScanOptions) {
        OnScanOptions();
    }
}

void TfrmMain::btnOldFilesClick() {
    if (!RequireCatalog()) {
        return;
    }
    if (OnShowOldFiles) {
        OnShowOldFiles();
    }
}

void TfrmMain::btnDuplicateFilesClick() {
    if (!RequireCatalog()) {
        return;
    }
    if (OnShowDuplicateFiles) {
        OnShowDuplicateFiles();
    }
}

void TfrmMain::btnDuplicateFilesOptionsClick() {
    if (OnDuplicateFilesOptions) {
        OnDuplicateFilesOptions();
    }
}

void TfrmMain::btnUnusedDllsClick() {
    if (OnShowUnusedDlls) {
        OnShowUnusedDlls();
    }
}

void TfrmMain::btnExitClick() {
    close();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (JobRunning()) {
        // Never tear a job down midway: ask it to stop and close once it has ended.
        closeRequested_ = true;
        if (RequestJobStop) {
            RequestJobStop();
        }
        HelperThread().Stop(false);
        event->ignore();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    HideOtherWindows();
    emit Closed();
}

void TfrmMain::HideOtherWindows() {
    // Hidden, not closed: a window closed now would save its settings, and the results window
    // keeps its column widths only when the user closes it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) {
            window->hide();
        }
    }
}

bool TfrmMain::FormCloseQuery() {
    closeRequested_ = false;
    // Rolls back an open transaction, then closes the file.
    state_.CatalogDatabase.reset();
    QCoreApplication::processEvents();
    return true;
}

} // namespace mirelon
