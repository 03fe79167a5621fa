#pragma once

#include "cleanup/file_removal.h"
#include "query/duplicate_filters.h"
#include "results/window_thread_grid_sink.h"
#include "session/task_names.h"

#include <QString>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

class TSQLiteDatabase;
class TfrmQueryResults;

// Idle status text after a search that found nothing; the grid is empty then.
inline constexpr std::string_view kNoFilesFoundText = "No matching files found.";

// What the "Show Results" commands need from the main window.
struct TQueryCommandHost {
    std::function<void(bool busy, const QString& first, const QString& second)> SetStatus;
    // Sets the task name and runs the helper thread, handling window events until the job has
    // ended. Returns the job's failure text, empty when it succeeded.
    std::function<std::string(std::string_view taskName)> RunJob;
    // The value of seMonths.
    std::function<int()> Months;
    // The duplicate-files options as they stand: "Same name", "These extensions" and the
    // excluded folders.
    std::function<DuplicateFilters()> Filters{};
    // The hash method the catalog's checksums most likely come from: the scan option's.
    std::function<int32_t()> HashMethod{};
};

// The three "Show Results" commands, Refresh and the removal of files, and the jobs behind them.
// The click handlers run on the window thread; the jobs run on the helper thread, which the
// task dispatcher calls with the catalog, and reach the results grid only through a
// window-thread sink.
class TQueryCommands {
public:
    TQueryCommands(TQueryCommandHost host, TfrmQueryResults& results);

    void btnDuplicateFilesClick();
    void btnOldFilesClick();
    void btnUnusedDllsClick();
    // Runs the last of the three searches again; nothing before the first.
    void Refresh();
    // Removes the files as the "Remove Files" job, the window waiting as for a search; returns
    // one outcome per file handled (Abort stops at the next file).
    std::vector<RemovalOutcome> RemoveFiles(const std::vector<FileRecord>& files, RemovalKind kind);

    // Jobs for the task names above. Throw when the catalog is absent or a query fails.
    void FindDuplicateFiles(TSQLiteDatabase* catalog);
    void FindOldFiles(TSQLiteDatabase* catalog);
    void FindUnusedDlls(TSQLiteDatabase* catalog);
    void RemoveFilesJob(TSQLiteDatabase* catalog);

private:
    // Busy status, the job, and the idle status telling a failure or an empty result.
    // `note` follows in the status, after a result or after "No matching files found.".
    void RunSearch(std::string_view taskName, const std::function<void()>& beforeIdle = {},
                   const QString& note = {});
    static TSQLiteDatabase& Require(TSQLiteDatabase* catalog);

    TQueryCommandHost host_;
    TfrmQueryResults& results_;
    TWindowThreadGridSink grid_;
    // Read by the job: seMonths as it was on the window thread when the search started.
    std::atomic<int> months_{12};
    // Rows the last job loaded; -1 when it did not get that far.
    std::atomic<long long> rowsLoaded_{-1};
    // Read by the duplicate search job: the options when the search started.
    DuplicateFilters filters_;
    std::string_view lastSearch_;
    // The removal job's work and results, handed over while the window thread waits.
    std::vector<FileRecord> removalFiles_;
    RemovalOptions removalOptions_;
    std::vector<RemovalOutcome> removalOutcomes_;
};

} // namespace mirelon
