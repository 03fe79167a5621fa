#include "results/query_commands.h"

#include "catalog/local_clock.h"
#include "catalog/sqlite_database.h"
#include "query/query_jobs.h"
#include "results/frm_query_results.h"

#include <stdexcept>

namespace mirelon {

TQueryCommands::TQueryCommands(TQueryCommandHost host, TfrmQueryResults& results)
    : host_(std::move(host)), results_(results), grid_(&results.Model()) {}

TSQLiteDatabase& TQueryCommands::Require(TSQLiteDatabase* catalog) {
    if (catalog == nullptr) {
        throw std::runtime_error("The catalog is not open.");
    }
    return *catalog;
}

void TQueryCommands::RunSearch(std::string_view taskName, const std::function<void()>& beforeIdle,
                               const QString& note) {
    lastSearch_ = taskName;
    host_.SetStatus(true, QStringLiteral("Wait"), QStringLiteral("Searching ..."));
    rowsLoaded_ = -1;
    const std::string failure = host_.RunJob(taskName);
    if (beforeIdle) {
        beforeIdle();
    }
    QString second = note;
    if (!failure.empty()) {
        second = QString::fromStdString(failure);
    } else if (rowsLoaded_ == 0) {
        second = QString::fromUtf8(kNoFilesFoundText.data(),
                                   static_cast<qsizetype>(kNoFilesFoundText.size())) +
                 (note.isEmpty() ? QString() : " " + note);
    }
    host_.SetStatus(false, QStringLiteral("Ready"), second);
    results_.ShowStatus(second);
}

void TQueryCommands::btnDuplicateFilesClick() {
    filters_ = host_.Filters ? host_.Filters() : DuplicateFilters();
    const std::string filterText = DuplicateFiltersText(filters_);
    RunSearch(
        kTaskFindDuplicateFiles,
        [this] {
            results_.SetDuplicateGrouping(filters_.sameName);
            results_.SortByCheckSum();
            results_.ShadeDuplicateGroups();
        },
        QString::fromStdString(filterText));
    results_.Show();
}

void TQueryCommands::btnOldFilesClick() {
    months_ = host_.Months ? host_.Months() : 12;
    RunSearch(kTaskFindOldFiles, [this] { results_.SetDuplicateGrouping(std::nullopt); });
    results_.Show();
}

void TQueryCommands::btnUnusedDllsClick() {
    RunSearch(kTaskUnusedDlls, [this] { results_.SetDuplicateGrouping(std::nullopt); });
    results_.Show();
}

void TQueryCommands::Refresh() {
    if (lastSearch_ == kTaskFindDuplicateFiles) {
        btnDuplicateFilesClick();
    } else if (lastSearch_ == kTaskFindOldFiles) {
        btnOldFilesClick();
    } else if (lastSearch_ == kTaskUnusedDlls) {
        btnUnusedDllsClick();
    }
}

std::vector<RemovalOutcome> TQueryCommands::RemoveFiles(const std::vector<FileRecord>& files,
                                                        RemovalKind kind) {
    removalFiles_ = files;
    removalOptions_ = {};
    removalOptions_.kind = kind;
    removalOptions_.likelyHashMethod = host_.HashMethod ? host_.HashMethod() : 0;
    removalOutcomes_.clear();
    AbortRequested = false;
    host_.SetStatus(true, QStringLiteral("Wait"),
                    kind == RemovalKind::MoveToTrash ? QStringLiteral("Moving to the trash ...")
                                                     : QStringLiteral("Deleting ..."));
    const std::string failure = host_.RunJob(kTaskRemoveFiles);
    host_.SetStatus(false, QStringLiteral("Ready"), QString::fromStdString(failure));
    removalFiles_.clear();
    return std::move(removalOutcomes_);
}

void TQueryCommands::FindDuplicateFiles(TSQLiteDatabase* catalog) {
    rowsLoaded_ =
        static_cast<long long>(mirelon::FindDuplicateFiles(Require(catalog), grid_, filters_));
}

void TQueryCommands::FindOldFiles(TSQLiteDatabase* catalog) {
    rowsLoaded_ =
        static_cast<long long>(mirelon::FindOldFiles(Require(catalog), grid_, months_, NowLocal()));
}

void TQueryCommands::FindUnusedDlls(TSQLiteDatabase* catalog) {
    rowsLoaded_ = static_cast<long long>(mirelon::FindUnusedDlls(Require(catalog), grid_));
}

void TQueryCommands::RemoveFilesJob(TSQLiteDatabase* catalog) {
    TSQLiteDatabase& database = Require(catalog);
    // Each outcome is kept as it comes, so that a failure part way loses none of them.
    RemoveCataloguedFiles(database, removalFiles_, removalOptions_,
                          [this](std::size_t, const RemovalOutcome& outcome) {
                              removalOutcomes_.push_back(outcome);
                              return !AbortRequested;
                          });
}

} // namespace mirelon
