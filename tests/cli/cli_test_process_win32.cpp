#include "tests/cli/cli_test_process.h"

#include "base/executable_path.h"
#include "base/utf8_path.h"
#include "base/wide_path.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mirelon::test {

namespace {

// One argument as the C runtime and CommandLineToArgvW read it back: quoted when it holds a
// blank or a quote, backslashes doubled where a quote follows them.
std::wstring QuotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring CommandLine(const std::vector<std::string>& command) {
    std::wstring line;
    for (const std::string& argument : command) {
        line += (line.empty() ? L"" : L" ") + QuotedArgument(WideText(argument));
    }
    return line;
}

// "NAME=value" entries in the block CreateProcessW takes.
std::wstring EnvironmentBlock(const std::vector<std::string>& environment) {
    std::wstring block;
    for (const std::string& entry : environment) {
        block += WideText(entry);
        block += L'\0';
    }
    block += L'\0';
    return block;
}

std::string TempFileName(const char* tag) {
    static std::atomic<unsigned> counter{0};
    return Utf8FromPath(std::filesystem::temp_directory_path() /
                        ("mirelon-cli-test-" + std::string(tag) + "-" +
                         std::to_string(::GetCurrentProcessId()) + "-" +
                         std::to_string(++counter)));
}

std::string ReadAndRemove(const std::string& fileName) {
    std::string text;
    {
        std::ifstream in(fileName, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ::DeleteFileW(WidePath(fileName).c_str());
    return text;
}

class InheritedHandle {
public:
    InheritedHandle(const std::string& path, DWORD access, DWORD disposition) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        handle_ = ::CreateFileW(WidePath(path).c_str(), access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot open " + path);
        }
    }
    ~InheritedHandle() { ::CloseHandle(handle_); }
    InheritedHandle(const InheritedHandle&) = delete;
    InheritedHandle& operator=(const InheritedHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The program of `command[0]` (by path, or looked up on PATH), its standard input from
// `inputFile` or the null device, with the environment given or this process's own.
ProcessResult RunToEnd(const std::vector<std::string>& command, const std::string& inputFile,
                       bool searchPath, const std::vector<std::string>* environment = nullptr) {
    const std::string outFile = TempFileName("out");
    const std::string errFile = TempFileName("err");
    ProcessResult result;
    {
        const InheritedHandle in(inputFile.empty() ? "NUL" : inputFile, GENERIC_READ,
                                 OPEN_EXISTING);
        const InheritedHandle out(outFile, GENERIC_WRITE, CREATE_ALWAYS);
        const InheritedHandle err(errFile, GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.Get();
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::wstring line = CommandLine(command);
        std::wstring block = environment != nullptr ? EnvironmentBlock(*environment) : L"";
        const std::wstring program = WideText(command.front());
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(searchPath ? nullptr : program.c_str(), line.data(), nullptr, nullptr,
                              TRUE, CREATE_UNICODE_ENVIRONMENT,
                              environment != nullptr ? block.data() : nullptr, nullptr, &startup,
                              &process)) {
            throw std::runtime_error("cannot start " + command.front());
        }
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        result.exitCode = static_cast<int>(exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    result.out = ReadAndRemove(outFile);
    result.err = ReadAndRemove(errFile);
    return result;
}

} // namespace

std::string CliProgram() {
    std::string program = MIRELON_CLI;
    // The build names it by its path on the build machine; under Wine that path is on the same
    // drive as this test program, which Wine maps to the machine's root.
    if (!program.empty() && (program.front() == '/' || program.front() == '\\')) {
        program = ExecutablePath().substr(0, 2) + program;
    }
    for (char& c : program) {
        if (c == '/') {
            c = '\\';
        }
    }
    return program;
}

ProcessResult RunCli(const std::vector<std::string>& arguments, const std::string& inputFile) {
    std::vector<std::string> command{CliProgram()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunToEnd(command, inputFile, false);
}

ProcessResult RunProgram(const std::vector<std::string>& command) {
    return RunToEnd(command, {}, true);
}

ProcessResult RunProgramWithEnvironment(const std::vector<std::string>& command,
                                        const std::vector<std::string>& environment) {
    return RunToEnd(command, {}, false, &environment);
}

} // namespace mirelon::test
