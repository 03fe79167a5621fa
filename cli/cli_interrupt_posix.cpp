#include "cli/cli_interrupt.h"

#include <csignal>

namespace mirelon {

namespace {

volatile std::sig_atomic_t interruptRequested = 0;
struct sigaction previousAction {};

// Only a flag store: anything more is not safe inside a signal handler.
extern "C" void OnInterrupt(int) {
    interruptRequested = 1;
}

} // namespace

TInterruptGuard::TInterruptGuard() {
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The first Ctrl-C asks; the next one falls back to the default and ends the program.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
}

TInterruptGuard::~TInterruptGuard() {
    sigaction(SIGINT, &previousAction, nullptr);
}

bool TInterruptGuard::Requested() {
    return interruptRequested != 0;
}

} // namespace mirelon
