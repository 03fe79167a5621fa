#include "cli/cli_runner.h"

#include "catalog/catalog_failure.h"
#include "cli/cli_arguments.h"
#include "cli/cli_catalog_location.h"
#include "cli/cli_drives_command.h"
#include "cli/cli_exit_codes.h"
#include "cli/cli_hash_command.h"
#include "cli/cli_help.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_query_command.h"
#include "cli/cli_remove_command.h"
#include "cli/cli_scan_command.h"
#include "cli/cli_terminal.h"
#include "scan/drive_info.h"
#include "session/data_directory.h"

#include <exception>

#ifndef MIRELON_VERSION
#define MIRELON_VERSION "unknown"
#endif

namespace mirelon {

namespace {

constexpr const char* kProgram = "mirelon-cli";

std::string CommandPrefix(CliCommand command) {
    const std::string name = CliCommandName(command);
    return std::string(kProgram) + ": " + (name.empty() ? "" : name + ": ");
}

int ReportUsage(const ECliUsage& error, CliStreams& streams) {
    const std::string name = CliCommandName(error.Command());
    streams.err << CommandPrefix(error.Command()) << error.what() << " (see '" << kProgram << ' '
                << (name.empty() ? "" : name + " ") << "--help')\n";
    return kExitUsage;
}

int RunScan(const CliRequest& request, const std::string& dataDirectory, CliStreams& streams) {
    CliScanSettings settings;
    settings.dataDirectory = dataDirectory;
    settings.showProgress = !request.quiet && StandardErrorIsTerminal();
    settings.columns = settings.showProgress ? StandardErrorColumns() : 80;
    settings.stopRequested = &TInterruptGuard::RequestedExitCode;
    const TInterruptGuard interruptGuard;
    return RunScanCommand(request, settings, streams);
}

int RunCommand(const CliRequest& request, CliStreams& streams) {
    switch (request.command) {
    case CliCommand::Drives: {
        const TcxDriveInfo drives;
        return RunDrivesCommand(request, drives, streams);
    }
    case CliCommand::Hash:
        return RunHashCommand(request, streams);
    case CliCommand::None:
        return kExitUsage;
    default:
        break;
    }
    // The default is not looked for (nor an installed program's data folder made) when --db
    // names the catalog.
    const std::string dataDirectory = CatalogDataDirectory(
        request.command, request.catalogPath,
        request.catalogPath.empty() ? ApplicationDataDirectory() : std::string());
    if (request.command == CliCommand::Scan) {
        return RunScan(request, dataDirectory, streams);
    }
    if (request.command == CliCommand::RemoveDuplicates) {
        // Stopped between two files, so every file is either done with its row or untouched.
        const TInterruptGuard interruptGuard;
        return RunRemoveDuplicatesCommand(request, dataDirectory, streams,
                                          &TInterruptGuard::RequestedExitCode);
    }
    return RunQueryCommand(request, dataDirectory, streams);
}

} // namespace

int RunCli(std::span<const std::string> arguments, CliStreams& streams) {
    CliRequest request;
    try {
        request = ParseCliArguments(arguments);
        if (request.help) {
            streams.out << CliHelpText(request.command);
            return kExitSuccess;
        }
        if (request.version) {
            streams.out << kProgram << ' ' << MIRELON_VERSION << '\n';
            return kExitSuccess;
        }
        const int exitCode = RunCommand(request, streams);
        // A full disk or a closed pipe must not pass for a complete listing.
        if (!streams.out.flush()) {
            streams.err << CommandPrefix(request.command) << "cannot write the output\n";
            return exitCode == kExitSuccess ? kExitFailure : exitCode;
        }
        return exitCode;
    } catch (const ECliUsage& error) {
        return ReportUsage(error, streams);
    } catch (const std::exception& error) {
        streams.out.flush();
        streams.err << CommandPrefix(request.command) << DescribeFailure(error) << '\n';
        return kExitFailure;
    }
}

} // namespace mirelon
