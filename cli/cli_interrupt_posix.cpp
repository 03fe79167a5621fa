#include "cli/cli_interrupt.h"

#include "cli/cli_exit_codes.h"

#include <array>
#include <csignal>

namespace mirelon {

namespace {

struct StopSignal {
    int number;
    int exitCode;
    // Whether the same signal again ends the program: a second Ctrl-C or stop request insists,
    // but a closing terminal may send its hang-up twice (the terminal, then the shell).
    bool secondEnds;
    struct sigaction previous;
};

std::array<StopSignal, 3> stopSignals{{
    {SIGINT, kExitInterrupted, true, {}},
    {SIGHUP, kExitHangup, false, {}},
    {SIGTERM, kExitTerminated, true, {}},
}};

volatile std::sig_atomic_t requestedExitCode = 0;

// Only a flag store: anything more is not safe inside a signal handler. The first request
// wins, so the exit code names what stopped the scan.
extern "C" void OnStopSignal(int number) {
    if (requestedExitCode != 0) {
        return;
    }
    for (const StopSignal& stop : stopSignals) {
        if (stop.number == number) {
            requestedExitCode = stop.exitCode;
        }
    }
}

} // namespace

TInterruptGuard::TInterruptGuard() {
    requestedExitCode = 0;
    for (StopSignal& stop : stopSignals) {
        // A signal ignored from the start (nohup, a background job) stays ignored.
        sigaction(stop.number, nullptr, &stop.previous);
        if (stop.previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = &OnStopSignal;
        sigemptyset(&action.sa_mask);
        // With SA_RESETHAND the signal's default comes back once it has been handled.
        action.sa_flags = SA_RESTART | (stop.secondEnds ? SA_RESETHAND : 0);
        sigaction(stop.number, &action, nullptr);
    }
}

TInterruptGuard::~TInterruptGuard() {
    for (const StopSignal& stop : stopSignals) {
        sigaction(stop.number, &stop.previous, nullptr);
    }
}

int TInterruptGuard::RequestedExitCode() {
    return requestedExitCode;
}

} // namespace mirelon
