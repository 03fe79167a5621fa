#pragma once

#include "cleanup/keep_rules.h"
#include "output/table_writer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirelon {

enum class CliCommand {
    None,
    Scan,
    Duplicates,
    RemoveDuplicates,
    OldFiles,
    UnusedDlls,
    Drives,
    Hash
};

inline constexpr int kDefaultOldFilesMonths = 12;
inline constexpr int kMinOldFilesMonths = 1;
inline constexpr int kMaxOldFilesMonths = 60;

// What one command line asks for; options that a command does not take keep their defaults.
struct CliRequest {
    CliCommand command = CliCommand::None;
    bool help = false;    // for `command`, or the overview when there is none
    bool version = false; // only without a command

    int32_t method = 0; // hash method ID; 0 when not given
    bool continueScan = false;
    bool updateScan = false;
    bool hardLinks = false; // duplicates: every link of a file, not only the first
    bool quiet = false;
    std::optional<int> jobs; // scan: files read at once; the scan's default when not given
    std::vector<std::string> excludedFolders;
    // The duplicate-files filters; none unless given.
    bool sameName = false;
    std::vector<std::string> extensions; // lower case, with their dots
    // remove-duplicates: one of the two ways to choose the files that stay.
    std::optional<KeepRule> keep;
    std::string keepInside; // --in, as given
    bool dryRun = false;
    bool permanently = false;
    std::string catalogPath; // --db as given; empty for the default catalog
    int months = kDefaultOldFilesMonths;
    OutputFormat format = OutputFormat::Tsv;
    std::vector<std::string> paths; // scan roots or files to hash
};

// A bad command line. The text names the bad argument and fits on one line.
class ECliUsage : public std::runtime_error {
public:
    ECliUsage(CliCommand command, const std::string& message)
        : std::runtime_error(message), command_(command) {}
    CliCommand Command() const { return command_; }

private:
    CliCommand command_;
};

// The arguments after the program name. Raises ECliUsage.
CliRequest ParseCliArguments(std::span<const std::string> arguments);

// "scan", "duplicates", ...; empty for None.
std::string CliCommandName(CliCommand command);

} // namespace mirelon
