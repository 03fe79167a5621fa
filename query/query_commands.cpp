#include "query/query_commands.h"

#include "catalog/local_clock.h"
#include "catalog/sqlite_database.h"
#include "query/frm_query_results.h"
#include "query/query_jobs.h"

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

void TQueryCommands::RunSearch(std::string_view taskName, const std::function<void()>& beforeIdle) {
    host_.SetStatus(true, QStringLiteral("Wait"), QStringLiteral("Searching ..."));
    rowsLoaded_ = -1;
    const std::string failure = host_.RunJob(taskName);
    if (beforeIdle) {
        beforeIdle();
    }
    QString second;
    if (!failure.empty()) {
        second = QString::fromStdString(failure);
    } else if (rowsLoaded_ == 0) {
        second = QString::fromUtf8(kNoFilesFoundText.data(),
                                   static_cast<qsizetype>(kNoFilesFoundText.size()));
    }
    host_.SetStatus(false, QStringLiteral("Ready"), second);
}

void TQueryCommands::btnDuplicateFilesClick() {
    RunSearch(kTaskFindDuplicateFiles, [this] {
        results_.SortByCheckSum();
        results_.ShadeDuplicateGroups();
    });
    results_.Show();
}

void TQueryCommands::btnOldFilesClick() {
    months_ = host_.Months ? host_.Months() : 12;
    RunSearch(kTaskFindOldFiles);
    results_.Show();
}

void TQueryCommands::btnUnusedDllsClick() {
    RunSearch(kTaskUnusedDlls);
    results_.Show();
}

void TQueryCommands::FindDuplicateFiles(TSQLiteDatabase* catalog) {
    rowsLoaded_ = static_cast<long long>(mirelon::FindDuplicateFiles(Require(catalog), grid_));
}

void TQueryCommands::FindOldFiles(TSQLiteDatabase* catalog) {
    rowsLoaded_ =
        static_cast<long long>(mirelon::FindOldFiles(Require(catalog), grid_, months_, NowLocal()));
}

void TQueryCommands::FindUnusedDlls(TSQLiteDatabase* catalog) {
    rowsLoaded_ = static_cast<long long>(mirelon::FindUnusedDlls(Require(catalog), grid_));
}

} // namespace mirelon
