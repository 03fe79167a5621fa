#include "cli/cli_scan_command.h"

#include "base/message_text.h"
#include "base/utf8_path.h"
#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "cli/cli_catalog_location.h"
#include "cli/cli_exit_codes.h"
#include "cli/cli_scan_progress.h"
#include "hash/hash_service.h"
#include "scan/drive_info.h"
#include "scan/exclusion_provider.h"
#include "scan/scan_files.h"
#include "scan/scan_options.h"
#include "scan/scan_roots.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace mirelon {

namespace {

std::vector<std::string> ScanRoots(const CliRequest& request) {
    std::vector<std::string> roots;
    for (const std::string& path : request.paths) {
        std::error_code error;
        const auto status = std::filesystem::status(PathFromUtf8(path), error);
        if (status.type() == std::filesystem::file_type::not_found) {
            throw ECliUsage(request.command, "no such folder: '" + path + "'");
        }
        // A root that is there but cannot be looked at is the scan's to report, with the reason.
        if (!error && !std::filesystem::is_directory(status)) {
            throw ECliUsage(request.command, "not a folder: '" + path + "'");
        }
        roots.push_back(CanonicalFolderPath(path));
    }
    return roots;
}

// The scanner compares excluded folders with whole paths, which carry no trailing separator.
std::vector<std::string> ExcludedFolders(const CliRequest& request) {
    std::vector<std::string> folders;
    for (const std::string& path : request.excludedFolders) {
        folders.push_back(CanonicalFolderPath(path));
    }
    return folders;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

void PrintFileList(std::ostream& out, const char* title, int64_t count,
                   const std::vector<SkippedFile>& kept) {
    if (count == 0) {
        return;
    }
    out << title << ":\n";
    for (const SkippedFile& file : kept) {
        out << "  " << file.path << ": " << file.reason << '\n';
    }
    if (count > static_cast<int64_t>(kept.size())) {
        out << "  ... and " << count - static_cast<int64_t>(kept.size()) << " more\n";
    }
}

void PrintSummary(std::ostream& out, const TScanRun& run, const std::string& catalogFile,
                  double seconds) {
    if (run.Mode() == kFreshScanUpdate) {
        out << "Updated " << catalogFile << " in " << Seconds(seconds) << ": " << run.CountsText()
            << " (" << MegabytesText(run.BytesHashed()) << " hashed)\n";
    } else {
        out << "Catalogued " << run.ScannedCount() << (run.ScannedCount() == 1 ? " file" : " files")
            << " (" << MegabytesText(run.BytesHashed()) << " hashed) in " << Seconds(seconds)
            << " into " << catalogFile << '\n';
    }
    const std::string summary = run.SummaryText();
    if (!summary.empty()) {
        out << summary << '\n';
    }
    PrintFileList(out, "Skipped", run.SkippedCount() + run.SkippedFolderCount(), run.Skipped());
    PrintFileList(out, "Without checksum", run.UnhashedCount(), run.Unhashed());
    PrintFileList(out, "Dates out of range", run.ClampedCount(), run.Clamped());
}

} // namespace

int RunScanCommand(const CliRequest& request, const CliScanSettings& settings,
                   CliStreams& streams) {
    const std::vector<std::string> excluded = ExcludedFolders(request);
    const ScanRootChoice roots = DistinctScanRoots(ScanRoots(request), excluded);
    for (const std::string& note : roots.notes) {
        streams.err << "mirelon-cli: scan: " << note << '\n';
    }

    TScanOptions options;
    if (request.method != 0) {
        options.SetHashMethodIndex(request.method - kHashMethodFirst);
    }
    options.SetFreshScanIndex(request.continueScan ? kFreshScanContinue
                              : request.updateScan ? kFreshScanUpdate
                                                   : kFreshScanYes);

    TScanFiles scanner;
    const TcxDriveInfo drives;
    TFixedExclusionProvider exclusions(excluded);
    const auto stopRequested = [&settings] {
        return settings.stopRequested && settings.stopRequested() != 0;
    };
    TCliScanProgress progress(streams.err, settings.showProgress, settings.columns, stopRequested);
    TScanRun run(scanner, drives, options, exclusions, progress);
    run.SetRoots(roots.roots);
    run.SetJobs(request.jobs);
    progress.Attach(run);

    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<TSQLiteDatabase> catalog;
    ScanOutcome outcome;
    try {
        outcome = RunScanNow(run, catalog, settings.dataDirectory, options);
    } catch (...) {
        progress.Clear();
        throw;
    }
    catalog.reset();
    progress.Clear();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // A scan that never started has nothing to sum up: only why it did not start.
    if (outcome.scanned) {
        PrintSummary(streams.out, run, settings.dataDirectory + kCatalogFileName, seconds);
        streams.out.flush();
    }
    if (!outcome.error.empty()) {
        streams.err << "mirelon-cli: scan: " << outcome.error << '\n';
    }
    if (stopRequested()) {
        return settings.stopRequested();
    }
    if (!outcome.error.empty() || run.SkippedCount() > 0 || run.SkippedFolderCount() > 0 ||
        run.UnhashedCount() > 0) {
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace mirelon
