#include "tests/cli/cli_test_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace mirelon::test {

namespace {

std::string TempFileName(const char* tag) {
    std::string pattern = std::string("/tmp/mirelon-cli-test-") + tag + "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    close(fd);
    return pattern;
}

std::string ReadAndRemove(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unlink(fileName.c_str());
    return text;
}

// The user and group "nobody".
constexpr uid_t kUnprivilegedId = 65534;

pid_t Spawn(const std::vector<std::string>& command, const std::string& inputFile,
            const std::string& outFile, const std::string& errFile, bool searchPath,
            char** environment = environ) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 0, inputFile.empty() ? "/dev/null" : inputFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<char*> argv;
    for (const std::string& argument : command) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = searchPath
                          ? posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environment)
                          : posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + command[0]);
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

std::vector<std::string> CliCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{CliProgram()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

ProcessResult RunToEnd(const std::vector<std::string>& command, const std::string& inputFile,
                       bool searchPath, char** environment = environ) {
    const std::string outFile = TempFileName("out");
    const std::string errFile = TempFileName("err");
    ProcessResult result;
    result.exitCode =
        WaitForExit(Spawn(command, inputFile, outFile, errFile, searchPath, environment));
    result.out = ReadAndRemove(outFile);
    result.err = ReadAndRemove(errFile);
    return result;
}

} // namespace

std::string CliProgram() {
    return MIRELON_CLI;
}

ProcessResult RunCli(const std::vector<std::string>& arguments, const std::string& inputFile) {
    return RunToEnd(CliCommand(arguments), inputFile, false);
}

ProcessResult RunProgram(const std::vector<std::string>& command) {
    return RunToEnd(command, {}, true);
}

ProcessResult RunProgramWithEnvironment(const std::vector<std::string>& command,
                                        const std::vector<std::string>& environment) {
    std::vector<char*> entries;
    for (const std::string& entry : environment) {
        entries.push_back(const_cast<char*>(entry.c_str()));
    }
    entries.push_back(nullptr);
    return RunToEnd(command, {}, false, entries.data());
}

std::string UnprivilegedRunUnavailable() {
    if (geteuid() != 0) {
        return {};
    }
    if (RunProgram({"setpriv", "--version"}).exitCode != 0) {
        return "the tests run as root and setpriv, which would drop the privileges, is missing";
    }
    return {};
}

ProcessResult RunCliUnprivileged(const std::vector<std::string>& arguments) {
    if (geteuid() != 0) {
        return RunCli(arguments);
    }
    const std::string id = std::to_string(kUnprivilegedId);
    std::vector<std::string> command{"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups",
                                     CliProgram()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunProgram(command);
}

void GiveToUnprivilegedUser(const std::string& path) {
    if (geteuid() != 0) {
        return;
    }
    const auto give = [](const std::filesystem::path& item) {
        if (lchown(item.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) {
            throw std::runtime_error("cannot give " + item.string() + " away");
        }
    };
    give(path);
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
            give(entry.path());
        }
    }
}

TRunningCli::TRunningCli(const std::vector<std::string>& arguments)
    : outFile_(TempFileName("out")), errFile_(TempFileName("err")) {
    pid_ = Spawn(CliCommand(arguments), {}, outFile_, errFile_, false);
}

TRunningCli::~TRunningCli() {
    if (!finished_) {
        kill(pid_, SIGKILL);
        Wait();
    }
}

bool TRunningCli::Running() {
    if (finished_) {
        return false;
    }
    // Looks without reaping, so that Wait still collects the exit status.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

void TRunningCli::Signal(int signalNumber) {
    kill(pid_, signalNumber);
}

ProcessResult TRunningCli::Wait() {
    ProcessResult result;
    result.exitCode = WaitForExit(pid_);
    finished_ = true;
    result.out = ReadAndRemove(outFile_);
    result.err = ReadAndRemove(errFile_);
    return result;
}

} // namespace mirelon::test
