#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mirelon::test {

struct ProcessResult {
    int exitCode = -1; // on Linux 128 + signal number when a signal ended the process
    std::string out;
    std::string err;
};

// The built mirelon-cli's full path.
std::string CliProgram();

// The built mirelon-cli with these arguments; standard input from `inputFile` (empty: none).
ProcessResult RunCli(const std::vector<std::string>& arguments, const std::string& inputFile = {});

// Any program found on PATH, for the tools the output is compared with.
ProcessResult RunProgram(const std::vector<std::string>& command);
// A program by its path, with exactly these "NAME=value" environment entries.
ProcessResult RunProgramWithEnvironment(const std::vector<std::string>& command,
                                        const std::vector<std::string>& environment);

// (Linux only) Why the program cannot be run as a user without privileges here; empty when it
// can. Tests running as root switch to the user "nobody" with setpriv.
std::string UnprivilegedRunUnavailable();
// The built mirelon-cli, run as that user.
ProcessResult RunCliUnprivileged(const std::vector<std::string>& arguments);
// Makes the folder and everything in it that user's, so that the program may write there.
void GiveToUnprivilegedUser(const std::string& path);

// (Linux only) A mirelon-cli left running, for tests that signal it while it works.
class TRunningCli {
public:
    explicit TRunningCli(const std::vector<std::string>& arguments);
    pid_t Pid() const { return pid_; }
    ~TRunningCli();
    TRunningCli(const TRunningCli&) = delete;
    TRunningCli& operator=(const TRunningCli&) = delete;

    bool Running();
    void Signal(int signalNumber);
    ProcessResult Wait();

private:
    pid_t pid_ = -1;
    std::string outFile_;
    std::string errFile_;
    bool finished_ = false;
};

} // namespace mirelon::test
