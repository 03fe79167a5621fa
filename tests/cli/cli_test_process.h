#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mirelon::test {

struct ProcessResult {
    int exitCode = -1; // 128 + signal number when a signal ended the process
    std::string out;
    std::string err;
};

// The built mirelon-cli with these arguments; standard input from `inputFile` (empty: none).
ProcessResult RunCli(const std::vector<std::string>& arguments, const std::string& inputFile = {});

// Any program found on PATH, for the tools the output is compared with.
ProcessResult RunProgram(const std::vector<std::string>& command);

// A mirelon-cli left running, for tests that signal it while it works.
class TRunningCli {
public:
    explicit TRunningCli(const std::vector<std::string>& arguments);
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
