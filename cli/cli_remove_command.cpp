#include "cli/cli_remove_command.h"

#include "cleanup/file_removal.h"
#include "cleanup/keep_rules.h"
#include "cleanup/removal_summary.h"
#include "cli/cli_catalog_location.h"
#include "cli/cli_exit_codes.h"
#include "cli/cli_query_command.h"
#include "hash/hash_service.h"
#include "output/field_escaping.h"
#include "query/column_order.h"
#include "query/query_jobs.h"
#include "query/result_grid_sink.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace mirelon {

namespace {

class TCollectingSink : public TResultGridSink {
public:
    void ClearRows() override { rows.clear(); }
    void AppendRows(std::vector<ResultRow>& batch) override {
        for (ResultRow& row : batch) {
            rows.push_back(std::move(row));
        }
        batch.clear();
    }

    std::vector<ResultRow> rows;
};

// "ACTION<tab>PATH[<tab>REASON]", the texts escaped as TSV, so that any name keeps to its line.
void WriteLine(std::ostream& out, std::string_view action, const std::string& path,
               const std::string& reason = {}) {
    out << action << '\t' << TsvField(path);
    if (!reason.empty()) {
        out << '\t' << TsvField(reason);
    }
    out << '\n';
    out.flush(); // each line as its file is done, for whoever watches
}

// The files of each group together, groups in checksum order, each group's files in path order.
std::vector<std::size_t> GroupOrder(const std::vector<DuplicateCandidate>& files) {
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (files[a].group != files[b].group) {
            return files[a].group < files[b].group;
        }
        return CompareAlphabetic(files[a].path, files[b].path) < 0;
    });
    return order;
}

RemovalOptions OptionsOf(const CliRequest& request) {
    RemovalOptions options;
    options.kind = request.permanently ? RemovalKind::DeletePermanently : RemovalKind::MoveToTrash;
    // A method given is the catalog's; otherwise each checksum is tried by every method of
    // its length, the scan's default first.
    options.likelyHashMethod = request.method != 0 ? request.method : HashMethodByName("MD5");
    options.onlyLikelyHashMethod = request.method != 0;
    options.dryRun = request.dryRun;
    return options;
}

} // namespace

int RunRemoveDuplicatesCommand(const CliRequest& request, const std::string& dataDirectory,
                               CliStreams& streams, const std::function<int()>& stopRequested) {
    const DuplicateFilters filters = CliDuplicateFilters(request);
    const std::string inside =
        request.keepInside.empty() ? std::string() : CanonicalFolderPath(request.keepInside);
    const auto catalog = OpenExistingCatalog(dataDirectory);
    TCollectingSink found;
    FindDuplicateFiles(*catalog, found, filters);

    std::vector<DuplicateCandidate> files;
    files.reserve(found.rows.size());
    for (const ResultRow& row : found.rows) {
        files.push_back(
            {row[kFullPathColumn], row[kDateModifiedColumn],
             DuplicateGroupKey(row[kCheckSumColumn], row[kFileNameColumn], filters.sameName)});
    }
    const DuplicateSelection selection =
        inside.empty() ? SelectDuplicates(files, *request.keep)
                       : SelectDuplicates(files, KeepRule::InsideFolder, inside);
    const std::unordered_set<std::string> untouched(selection.groupsWithoutKeeper.begin(),
                                                    selection.groupsWithoutKeeper.end());
    const RemovalOptions options = OptionsOf(request);

    RemovalTally tally;
    std::size_t kept = 0;
    bool rowsKept = false;
    int stopCode = 0;
    const std::vector<std::size_t> order = GroupOrder(files);
    for (std::size_t at = 0; at < order.size() && stopCode == 0;) {
        std::size_t end = at;
        while (end < order.size() && files[order[end]].group == files[order[at]].group) {
            ++end;
        }
        const std::string& group = files[order[at]].group;
        std::string why;
        if (untouched.contains(group)) {
            why = "no file of its group is inside " + inside;
        } else {
            // The copies that stay must be there as catalogued before any other copy goes.
            why = "no copy to keep is as catalogued";
            for (std::size_t i = at; i < end; ++i) {
                if (!selection.selected[order[i]]) {
                    const FileRecord keeper = FileRecordOf(found.rows[order[i]]);
                    const std::string problem = CheckCataloguedFile(*catalog, keeper, options);
                    if (problem.empty()) {
                        why.clear();
                        break;
                    }
                    why = "the copy to keep " + keeper.path + " " + problem;
                }
            }
        }
        if (!why.empty()) {
            ++tally.untouchedGroups;
            for (std::size_t i = at; i < end; ++i) {
                WriteLine(streams.out, "untouched", files[order[i]].path, why);
            }
            at = end;
            continue;
        }
        for (; at < end; ++at) {
            const std::size_t index = order[at];
            if (!selection.selected[index]) {
                ++kept;
                WriteLine(streams.out, "kept", files[index].path);
                continue;
            }
            if ((stopCode = stopRequested ? stopRequested() : 0) != 0) {
                break;
            }
            const FileRecord file = FileRecordOf(found.rows[index]);
            const RemovalOutcome outcome = RemoveCataloguedFile(*catalog, file, options);
            tally.Count(file, outcome);
            rowsKept |= outcome.removed && !outcome.rowRemoved && !options.dryRun;
            const char* done = request.permanently ? "deleted" : "trashed";
            WriteLine(streams.out, outcome.removed ? done : "failed", file.path, outcome.reason);
        }
    }

    streams.err << "Kept " << kept << (kept == 1 ? " file; " : " files; ")
                << RemovalSummaryText(tally, options)
                << (options.dryRun ? "; nothing was changed (dry run)" : "")
                << (stopCode != 0 ? "; stopped before the end" : "") << '\n';
    if (stopCode != 0) {
        return stopCode;
    }
    return tally.failed > 0 || rowsKept ? kExitFailure : kExitSuccess;
}

} // namespace mirelon
