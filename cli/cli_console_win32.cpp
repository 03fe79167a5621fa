#include "cli/cli_console.h"

#include "base/wide_path.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace mirelon {

namespace {

// The arguments as the system has them, in UTF-16: the narrow argv went through the code page
// and lost what it cannot show.
std::vector<std::string> WideArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8Text(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace

TCliConsole::TCliConsole(int, char**) : arguments_(WideArguments()) {
    for (FILE* stream : {stdin, stdout, stderr}) {
        ::_setmode(::_fileno(stream), _O_BINARY);
    }
    outputCodePage_ = ::GetConsoleOutputCP();
    if (outputCodePage_ != 0 && outputCodePage_ != CP_UTF8) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
    // The progress line is redrawn in place with "\r" and an escape that clears the line.
    DWORD mode = 0;
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (::GetConsoleMode(error, &mode) && (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0 &&
        ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        errorMode_ = mode;
        errorModeChanged_ = true;
    }
}

TCliConsole::~TCliConsole() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (outputCodePage_ != 0 && outputCodePage_ != CP_UTF8) {
        ::SetConsoleOutputCP(outputCodePage_);
    }
    if (errorModeChanged_) {
        ::SetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), errorMode_);
    }
}

} // namespace mirelon
