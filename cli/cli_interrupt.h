#pragma once

namespace mirelon {

// While one is alive, Ctrl-C (SIGINT), a closed terminal (SIGHUP) and a request to stop
// (SIGTERM, as a service stop sends) do not end the program but raise a flag that a scan or a
// removal polls, so the rows so far get committed. The same signal again ends the program the usual
// way; the catalog's journal keeps it valid even then. Destruction restores the earlier
// handling. On Windows the console's events stand for the signals: Ctrl-C and Ctrl-Break for
// SIGINT, a closed console window for SIGHUP, logoff and shutdown for SIGTERM; for the last
// three the system ends the process once the handler returns, so the handler waits until the
// guard goes (the system allows it a few seconds).
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    // The exit code that the first stop request since this guard was made asks for, as shells
    // report a program that the signal ended (130 Ctrl-C, 129 hang-up, 143 stop); 0 when none
    // came.
    static int RequestedExitCode();
};

} // namespace mirelon
