#include "cleanup/file_removal.h"

#include "catalog/catalog_failure.h"
#include "catalog/catalog_statements.h"
#include "cleanup/catalog_record.h"
#include "query/column_order.h"
#include "trash/trash.h"

#include <exception>

namespace mirelon {

namespace {

// The path column ignores letter case, so the exact comparison follows the indexed one: a row
// is deleted only for its own path.
std::string DeleteRowStatement(const std::string& path) {
    const std::string quoted = QuoteValue(path);
    return "DELETE FROM tblFiles WHERE fldFullPath = " + quoted + " AND fldFullPath = " + quoted +
           " COLLATE BINARY;";
}

} // namespace

FileRecord FileRecordOf(const ResultRow& row) {
    FileRecord file;
    file.path = row[kFullPathColumn];
    file.size = static_cast<uint64_t>(NumberSortKey(row[kFileSizeColumn]));
    file.checkSum = row[kCheckSumColumn];
    return file;
}

std::string CheckCataloguedFile(TSQLiteDatabase& catalog, const FileRecord& file,
                                const RemovalOptions& options) {
    FileRecord checked = file;
    if (!checked.stamp) {
        AddRecordedStamp(catalog, checked);
    }
    // A method the catalog records is the only one its checksums come from.
    const int32_t recorded = RecordedHashMethod(catalog);
    return CheckUnchanged(
        checked, recorded != 0 ? CandidateHashMethods(checked.checkSum, recorded, true)
                               : CandidateHashMethods(checked.checkSum, options.likelyHashMethod,
                                                      options.onlyLikelyHashMethod));
}

RemovalOutcome RemoveCataloguedFile(TSQLiteDatabase& catalog, const FileRecord& file,
                                    const RemovalOptions& options) {
    RemovalOutcome outcome;
    outcome.reason = CheckCataloguedFile(catalog, file, options);
    if (!outcome.reason.empty()) {
        return outcome;
    }
    if (options.dryRun) {
        outcome.removed = true;
        return outcome;
    }
    const TrashOutcome gone = options.kind == RemovalKind::MoveToTrash
                                  ? MoveToTrash(file.path)
                                  : DeletePermanently(file.path);
    if (!gone.done) {
        outcome.reason = gone.reason;
        return outcome;
    }
    outcome.removed = true;
    try {
        catalog.RunStatement(DeleteRowStatement(file.path));
        outcome.rowRemoved = true;
    } catch (const std::exception& error) {
        outcome.reason = "its catalog row stays: " + DescribeFailure(error);
    }
    return outcome;
}

std::vector<RemovalOutcome> RemoveCataloguedFiles(TSQLiteDatabase& catalog,
                                                  std::span<const FileRecord> files,
                                                  const RemovalOptions& options,
                                                  const RemovalProgress& progress) {
    std::vector<RemovalOutcome> outcomes;
    outcomes.reserve(files.size());
    for (const FileRecord& file : files) {
        outcomes.push_back(RemoveCataloguedFile(catalog, file, options));
        if (progress && !progress(outcomes.size() - 1, outcomes.back())) {
            break;
        }
    }
    return outcomes;
}

} // namespace mirelon
