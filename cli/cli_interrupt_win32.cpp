#include "cli/cli_interrupt.h"

#include "cli/cli_exit_codes.h"

#include <windows.h>

#include <atomic>

namespace mirelon {

namespace {

std::atomic<int> requestedExitCode{0};

// Set once the guard goes, that is once the scan has committed and said what it did. Made once:
// a handler may still be about to wait on it when the guard goes.
HANDLE ScanEnded() {
    static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

// The console's events and the exit codes of the signals they stand for on Linux: Ctrl-C and
// Ctrl-Break as Ctrl-C, a closed console window as a closed terminal, logoff and shutdown as a
// request to stop.
int ExitCodeOf(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return kExitInterrupted;
    case CTRL_CLOSE_EVENT:
        return kExitHangup;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        return kExitTerminated;
    default:
        return 0;
    }
}

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    const int exitCode = ExitCodeOf(event);
    if (exitCode == 0) {
        return FALSE;
    }
    int none = 0;
    const bool first = requestedExitCode.compare_exchange_strong(none, exitCode);
    if (exitCode == kExitInterrupted) {
        // A second Ctrl-C insists: the default handling ends the program, and the catalog's
        // journal keeps it valid.
        return first || none != kExitInterrupted ? TRUE : FALSE;
    }
    // The system ends the process as soon as this returns (or after its own few seconds), so
    // the scan gets that long to stop at its next folder and commit.
    ::WaitForSingleObject(ScanEnded(), INFINITE);
    return TRUE;
}

} // namespace

TInterruptGuard::TInterruptGuard() {
    requestedExitCode = 0;
    ::ResetEvent(ScanEnded());
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

TInterruptGuard::~TInterruptGuard() {
    // Let a waiting handler return before it is taken away.
    ::SetEvent(ScanEnded());
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

int TInterruptGuard::RequestedExitCode() {
    return requestedExitCode;
}

} // namespace mirelon
