#include "cli/cli_arguments.h"

#include "hash/hash_service.h"
#include "query/duplicate_filters.h"
#include "scan/scan_jobs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace mirelon {

namespace {

struct OptionSpec {
    std::string_view name; // without the leading "--"
    char shortName;        // 0 when none
    bool takesValue;
};

constexpr OptionSpec kHelp{"help", 'h', false};
constexpr OptionSpec kMethod{"method", 0, true};
constexpr OptionSpec kContinue{"continue", 0, false};
constexpr OptionSpec kUpdate{"update", 0, false};
constexpr OptionSpec kHardLinks{"hard-links", 0, false};
constexpr OptionSpec kExclude{"exclude", 0, true};
constexpr OptionSpec kDb{"db", 0, true};
constexpr OptionSpec kQuiet{"quiet", 'q', false};
constexpr OptionSpec kFormat{"format", 0, true};
constexpr OptionSpec kMonths{"months", 0, true};
constexpr OptionSpec kSameName{"same-name", 0, false};
constexpr OptionSpec kExtensions{"extensions", 0, true};
constexpr OptionSpec kKeep{"keep", 0, true};
constexpr OptionSpec kIn{"in", 0, true};
constexpr OptionSpec kDryRun{"dry-run", 0, false};
constexpr OptionSpec kPermanently{"permanently", 0, false};
constexpr OptionSpec kJobs{"jobs", 'j', true};

struct CommandSpec {
    CliCommand command;
    std::string_view name;
    std::vector<OptionSpec> options;
    bool takesPaths;
};

const std::array<CommandSpec, 7>& Commands() {
    static const std::array<CommandSpec, 7> kCommands{{
        {CliCommand::Scan,
         "scan",
         {kHelp, kMethod, kContinue, kUpdate, kExclude, kJobs, kDb, kQuiet},
         true},
        {CliCommand::Duplicates,
         "duplicates",
         {kHelp, kSameName, kExtensions, kExclude, kHardLinks, kDb, kFormat},
         false},
        {CliCommand::RemoveDuplicates,
         "remove-duplicates",
         {kHelp, kKeep, kIn, kSameName, kExtensions, kExclude, kMethod, kDryRun, kPermanently, kDb},
         false},
        {CliCommand::OldFiles, "old", {kHelp, kMonths, kDb, kFormat}, false},
        {CliCommand::UnusedDlls, "unused-dlls", {kHelp, kDb, kFormat}, false},
        {CliCommand::Drives, "drives", {kHelp, kFormat}, false},
        {CliCommand::Hash, "hash", {kHelp, kMethod}, true},
    }};
    return kCommands;
}

const CommandSpec* FindCommand(std::string_view name) {
    for (const CommandSpec& spec : Commands()) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

const OptionSpec* FindOption(const CommandSpec& command, std::string_view longName,
                             char shortName) {
    for (const OptionSpec& option : command.options) {
        if ((!longName.empty() && option.name == longName) ||
            (shortName != 0 && option.shortName == shortName)) {
            return &option;
        }
    }
    return nullptr;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

int32_t ParseMethod(CliCommand command, const std::string& value) {
    const int32_t method = HashMethodByName(value);
    if (method == 0) {
        throw ECliUsage(command, "--method: unknown hash method " + Quoted(value));
    }
    return method;
}

int ParseWholeNumber(CliCommand command, std::string_view option, const std::string& value,
                     int least, int most) {
    int number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc() || stop != end || number < least || number > most) {
        throw ECliUsage(command, "--" + std::string(option) + ": expected a whole number from " +
                                     std::to_string(least) + " to " + std::to_string(most) +
                                     ", got " + Quoted(value));
    }
    return number;
}

void ApplyOption(CliRequest& request, const OptionSpec& option, const std::string& value) {
    const CliCommand command = request.command;
    if (option.name == kHelp.name) {
        request.help = true;
    } else if (option.name == kMethod.name) {
        request.method = ParseMethod(command, value);
    } else if (option.name == kContinue.name) {
        request.continueScan = true;
    } else if (option.name == kUpdate.name) {
        request.updateScan = true;
    } else if (option.name == kHardLinks.name) {
        request.hardLinks = true;
    } else if (option.name == kExclude.name) {
        if (value.empty()) {
            throw ECliUsage(command, "--exclude: the folder is empty");
        }
        request.excludedFolders.push_back(value);
    } else if (option.name == kDb.name) {
        if (value.empty()) {
            throw ECliUsage(command, "--db: the catalog path is empty");
        }
        request.catalogPath = value;
    } else if (option.name == kQuiet.name) {
        request.quiet = true;
    } else if (option.name == kFormat.name) {
        if (!ParseOutputFormat(value, request.format)) {
            throw ECliUsage(command, "--format: expected tsv, csv or json, got " + Quoted(value));
        }
    } else if (option.name == kMonths.name) {
        request.months =
            ParseWholeNumber(command, kMonths.name, value, kMinOldFilesMonths, kMaxOldFilesMonths);
    } else if (option.name == kJobs.name) {
        request.jobs = ParseWholeNumber(command, kJobs.name, value, 1, kMaxScanJobs);
    } else if (option.name == kSameName.name) {
        request.sameName = true;
    } else if (option.name == kExtensions.name) {
        request.extensions = ParseExtensionList(value);
    } else if (option.name == kKeep.name) {
        request.keep = KeepRuleByName(value);
        if (!request.keep) {
            throw ECliUsage(command, "--keep: expected oldest, newest or shortest-path, got " +
                                         Quoted(value));
        }
    } else if (option.name == kIn.name) {
        if (value.empty()) {
            throw ECliUsage(command, "--in: the folder is empty");
        }
        request.keepInside = value;
    } else if (option.name == kDryRun.name) {
        request.dryRun = true;
    } else if (option.name == kPermanently.name) {
        request.permanently = true;
    }
}

// What no single option can check.
void CheckCombination(const CliRequest& request) {
    if (request.help || request.command != CliCommand::RemoveDuplicates) {
        return;
    }
    if (request.keep && !request.keepInside.empty()) {
        throw ECliUsage(request.command,
                        "--keep and --in both choose the files to keep; give one of them");
    }
    if (!request.keep && request.keepInside.empty()) {
        throw ECliUsage(request.command,
                        "say which file of each group to keep: --keep oldest, newest or "
                        "shortest-path, or --in DIR");
    }
}

// Options may come before, between or after the paths; "--" ends them.
void ParseCommandArguments(CliRequest& request, const CommandSpec& spec,
                           std::span<const std::string> arguments) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool looksLikeOption = argument.size() > 1 && argument[0] == '-';
        if (optionsEnded || !looksLikeOption) {
            if (!spec.takesPaths) {
                throw ECliUsage(spec.command, "unexpected argument " + Quoted(argument));
            }
            request.paths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionSpec* option = nullptr;
        std::string name = argument;
        std::string value;
        bool valueAttached = false;
        if (argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            if (equals != std::string::npos) {
                name = argument.substr(0, equals);
                value = argument.substr(equals + 1);
                valueAttached = true;
            }
            option = FindOption(spec, std::string_view(name).substr(2), 0);
        } else if (argument.size() == 2) {
            option = FindOption(spec, {}, argument[1]);
        }
        if (option == nullptr) {
            throw ECliUsage(spec.command, "unknown option " + Quoted(name));
        }
        if (option->takesValue && !valueAttached) {
            if (i + 1 >= arguments.size()) {
                throw ECliUsage(spec.command, Quoted(name) + " needs a value");
            }
            value = arguments[++i];
        } else if (!option->takesValue && valueAttached) {
            throw ECliUsage(spec.command, Quoted(name) + " takes no value");
        }
        ApplyOption(request, *option, value);
    }
}

} // namespace

std::string CliCommandName(CliCommand command) {
    for (const CommandSpec& spec : Commands()) {
        if (spec.command == command) {
            return std::string(spec.name);
        }
    }
    return {};
}

CliRequest ParseCliArguments(std::span<const std::string> arguments) {
    CliRequest request;
    if (arguments.empty()) {
        throw ECliUsage(CliCommand::None, "no command given");
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        request.help = true;
        if (first == "help" && arguments.size() > 1) {
            const CommandSpec* topic = FindCommand(arguments[1]);
            if (topic == nullptr) {
                throw ECliUsage(CliCommand::None, "unknown command " + Quoted(arguments[1]));
            }
            request.command = topic->command;
        }
        if (arguments.size() > (first == "help" ? 2u : 1u)) {
            throw ECliUsage(request.command, "unexpected argument " + Quoted(arguments.back()));
        }
        return request;
    }
    if (first == "--version") {
        if (arguments.size() > 1) {
            throw ECliUsage(CliCommand::None, "unexpected argument " + Quoted(arguments[1]));
        }
        request.version = true;
        return request;
    }
    const CommandSpec* spec = FindCommand(first);
    if (spec == nullptr) {
        throw ECliUsage(CliCommand::None,
                        (first.starts_with("-") ? "unknown option " : "unknown command ") +
                            Quoted(first));
    }
    request.command = spec->command;
    ParseCommandArguments(request, *spec, arguments.subspan(1));
    if (request.continueScan && request.updateScan) {
        throw ECliUsage(request.command, "--continue and --update cannot be combined");
    }
    CheckCombination(request);
    return request;
}

} // namespace mirelon
