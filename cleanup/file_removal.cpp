#include "cleanup/file_removal.h"

#include "catalog/catalog_failure.h"
#include "catalog/catalog_statements.h"
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

CataloguedFile CataloguedFileOf(const ResultRow& row) {
    CataloguedFile file;
    file.path = row[kFullPathColumn];
    file.size = static_cast<uint64_t>(NumberSortKey(row[kFileSizeColumn]));
    file.checkSum = row[kCheckSumColumn];
    return file;
}

RemovalOutcome RemoveCataloguedFile(TSQLiteDatabase& catalog, const CataloguedFile& file,
                                    const RemovalOptions& options) {
    RemovalOutcome outcome;
    outcome.reason =
        CheckUnchanged(file, CandidateHashMethods(file.checkSum, options.likelyHashMethod,
                                                  options.onlyLikelyHashMethod));
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
                                                  std::span<const CataloguedFile> files,
                                                  const RemovalOptions& options,
                                                  const RemovalProgress& progress) {
    std::vector<RemovalOutcome> outcomes;
    outcomes.reserve(files.size());
    for (const CataloguedFile& file : files) {
        outcomes.push_back(RemoveCataloguedFile(catalog, file, options));
        if (progress && !progress(outcomes.size() - 1, outcomes.back())) {
            break;
        }
    }
    return outcomes;
}

} // namespace mirelon
