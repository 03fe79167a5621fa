#pragma once

#include "scan/drive_info.h"
#include "scan/scan_files.h"
#include "scan/scan_progress.h"
#include "scan/scan_run.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace mirelon {

class TfrmMain;
class TThreadEx;
struct TShellState;

// Carries the scan's status changes to the main window's panes. Every hand-over runs on the
// window thread while the job waits; to keep a scan of small files fast, changes closer together
// than kInterval are kept and shown with the next one, and Flush shows the last ones.
class TWindowScanProgress : public IScanProgress {
public:
    explicit TWindowScanProgress(TfrmMain& frmMain);
    void ScannedCount(int64_t count) override;
    void ScanningFolder(const std::string& folder) override;
    // On the window thread, after the job: shows what was kept back.
    void Flush();

    static constexpr std::chrono::milliseconds kInterval{50};

private:
    void HandOver(bool force);
    void Show();

    TfrmMain& frmMain_;
    std::chrono::steady_clock::time_point lastShown_{};
    int64_t count_ = 0;
    std::string folder_;
    bool countChanged_ = false;
    bool folderChanged_ = false;
};

// "Scan Now": the button handler on the window thread and the "Scan Harddisk" job it runs.
class TScanCommands {
public:
    // clearResults empties the results window's grid when a scan starts.
    TScanCommands(TfrmMain& frmMain, TShellState& state, std::function<void()> clearResults);
    ~TScanCommands();

    void btnScanClick();
    TScanRun& Run() { return *run_; }
    TScanFiles& vclScanFiles() { return vclScanFiles_; }

private:
    void StartScan();
    void AbortScan();

    TfrmMain& frmMain_;
    TShellState& state_;
    std::function<void()> clearResults_;
    TScanFiles vclScanFiles_;
    TcxDriveInfo drives_;
    TWindowScanProgress progress_;
    std::unique_ptr<IExclusionProvider> exclusions_;
    std::unique_ptr<TScanRun> run_;
};

} // namespace mirelon
