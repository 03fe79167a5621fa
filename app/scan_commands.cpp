#include "app/scan_commands.h"

#include "app/blinking_label.h"
#include "app/frm_main.h"
#include "catalog/date_time.h"
#include "catalog/local_clock.h"
#include "session/scan_session.h"
#include "session/shell_state.h"
#include "session/task_dispatcher.h"
#include "thread/thread_ex.h"

#include <QLabel>
#include <QPushButton>

namespace mirelon {

namespace {

// The scan asks for the exclusion list at its start; the panel that provides it may be created
// after this command, so the provider is looked up then.
class TStateExclusions : public IExclusionProvider {
public:
    explicit TStateExclusions(TShellState& state) : state_(state) {}
    std::vector<std::string> ExcludedFolderList() override {
        return state_.ScanExclusions ? state_.ScanExclusions->ExcludedFolderList()
                                     : std::vector<std::string>{};
    }

private:
    TShellState& state_;
};

const QString kScanNow = QStringLiteral("Scan Now");
const QString kAbort = QStringLiteral("Abort");
const QString kWait = QStringLiteral("Wait ...");

} // namespace

TWindowScanProgress::TWindowScanProgress(TfrmMain& frmMain) : frmMain_(frmMain) {}

void TWindowScanProgress::ScannedCount(int64_t count) {
    count_ = count;
    countChanged_ = true;
    HandOver(false);
}

void TWindowScanProgress::ScanningFolder(const std::string& folder) {
    folder_ = folder;
    folderChanged_ = true;
    HandOver(false);
}

void TWindowScanProgress::HandOver(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastShown_ < kInterval) {
        return;
    }
    lastShown_ = now;
    frmMain_.HelperThread().RunOnWindowThread([this] { Show(); });
}

void TWindowScanProgress::Show() {
    if (countChanged_) {
        frmMain_.sbCaption1->setText(QString::number(count_));
        countChanged_ = false;
    }
    if (folderChanged_) {
        const QString folder = QString::fromStdString(folder_);
        frmMain_.sbCaption2->setText(folder);
        frmMain_.sbCaption2->setToolTip(folder);
        folderChanged_ = false;
    }
}

void TWindowScanProgress::Flush() {
    Show();
    lastShown_ = {};
}

TScanCommands::TScanCommands(TfrmMain& frmMain, TShellState& state,
                             std::function<void()> clearResults)
    : frmMain_(frmMain), state_(state), clearResults_(std::move(clearResults)), progress_(frmMain) {
    exclusions_ = std::make_unique<TStateExclusions>(state_);
    run_ = std::make_unique<TScanRun>(vclScanFiles_, drives_, state_.ScanOptions, *exclusions_,
                                      progress_);
    frmMain_.Dispatcher().SetJob(kTaskScanHarddisk, [this](TThreadEx&) { run_->ScanHarddisk(); });
    frmMain_.RequestJobStop = [this] {
        if (run_->ScanRunning()) {
            AbortScan();
        }
    };
}

TScanCommands::~TScanCommands() = default;

void TScanCommands::btnScanClick() {
    if (run_->ScanRunning()) {
        AbortScan();
    } else if (!frmMain_.JobRunning()) {
        StartScan();
    }
}

void TScanCommands::AbortScan() {
    run_->RequestAbort();
    frmMain_.btnScan->setText(kWait);
    frmMain_.btnScan->setEnabled(false);
}

void TScanCommands::StartScan() {
    frmMain_.btnScan->setText(kAbort);
    frmMain_.SetStatus(true, QStringLiteral("0"), QString());
    frmMain_.lblLastScanned->setText(QString::fromStdString(DateText(NowLocal())));
    if (clearResults_) {
        clearResults_();
    }

    // Both jobs run on thHelperThread, so the window stays usable and "Abort" works.
    const std::string failure =
        RunScanSession(*run_, state_.ScanOptions, state_.CatalogDatabase, state_.DataDirectory,
                       [this](std::string_view taskName) { return frmMain_.RunJob(taskName); })
            .error;
    if (!state_.CatalogDatabase) {
        // The commands that need the catalog tell why it is missing.
        state_.CatalogFailure = failure;
    }
    progress_.Flush();
    frmMain_.btnScan->setText(kScanNow);
    frmMain_.btnScan->setEnabled(true);
    if (!failure.empty()) {
        frmMain_.SetIdleStatus(failure);
        return;
    }
    // The pane may be too narrow for an update's counts; its hint holds the whole text.
    std::string summary = run_->CountsText();
    const std::string skipped = run_->SummaryText();
    if (!skipped.empty()) {
        summary = summary.empty() ? skipped : skipped + ". " + summary;
    }
    std::string hint = summary;
    if (const std::string files = run_->SkippedHint(); !files.empty()) {
        hint += (hint.empty() ? "" : "\n") + files;
    }
    frmMain_.SetStatus(false, QStringLiteral("Ready"), QString::fromStdString(summary));
    frmMain_.sbCaption2->setToolTip(QString::fromStdString(hint));
}

} // namespace mirelon
