#include "cli/cli_query_command.h"

#include "catalog/local_clock.h"
#include "catalog/sqlite_database.h"
#include "cli/cli_catalog_location.h"
#include "cli/cli_exit_codes.h"
#include "cli/cli_platform_help.h"
#include "output/table_writer.h"
#include "query/grid_columns.h"
#include "query/query_jobs.h"
#include "query/result_grid_sink.h"
#include "query/result_list_writer.h"
#include "query/result_row_store.h"

#include <array>
#include <span>

namespace mirelon {

namespace {

// Rows go straight to the output as the job hands them over. The header waits for the job's
// first call, which comes once its query has run, so a failing query prints nothing.
class TWritingSink : public TResultGridSink {
public:
    TWritingSink(TTableWriter& writer, std::span<const OutputColumn> columns)
        : writer_(writer), columns_(columns) {}
    void ClearRows() override { Start(); }
    void AppendRows(std::vector<ResultRow>& rows) override {
        Start();
        for (const ResultRow& row : rows) {
            writer_.Row(row);
        }
        rows.clear();
    }
    void Start() {
        if (!started_) {
            writer_.Start(columns_);
            started_ = true;
        }
    }

private:
    TTableWriter& writer_;
    std::span<const OutputColumn> columns_;
    bool started_ = false;
};

// Rows are kept compactly until the job has ended, then sorted as the results window sorts.
class TStoringSink : public TResultGridSink {
public:
    void ClearRows() override { store_.Clear(); }
    void AppendRows(std::vector<ResultRow>& rows) override {
        for (const ResultRow& row : rows) {
            store_.AppendRow(row);
        }
        rows.clear();
    }
    TResultRowStore& Store() { return store_; }

private:
    TResultRowStore store_;
};

} // namespace

DuplicateFilters CliDuplicateFilters(const CliRequest& request) {
    DuplicateFilters filters;
    filters.sameName = request.sameName;
    filters.extensions = request.extensions;
    for (const std::string& folder : request.excludedFolders) {
        filters.excludedFolders.push_back(CanonicalFolderPath(folder));
    }
    return filters;
}

int RunQueryCommand(const CliRequest& request, const std::string& dataDirectory,
                    CliStreams& streams) {
    const auto catalog = OpenExistingCatalog(dataDirectory);
    const auto columns = ResultListColumns();
    const auto writer = MakeTableWriter(request.format, streams.out);

    if (request.command == CliCommand::Duplicates) {
        TStoringSink sink;
        FindDuplicateFiles(*catalog, sink, CliDuplicateFilters(request), request.hardLinks);
        sink.Store().SortByColumn(kCheckSumColumn, true);
        writer->Start(columns);
        WriteResultRows(sink.Store(), *writer);
    } else {
        TWritingSink sink(*writer, columns);
        if (request.command == CliCommand::OldFiles) {
            FindOldFiles(*catalog, sink, request.months, NowLocal());
        } else {
            streams.err << UnreadFormatsNote();
            FindUnusedDlls(*catalog, sink);
        }
        sink.Start();
    }
    writer->Finish();
    return kExitSuccess;
}

} // namespace mirelon
