#pragma once

namespace mirelon {

// While one is alive, Ctrl-C (SIGINT) does not end the program but raises a flag that the scan
// polls, so the rows so far get committed. A second Ctrl-C ends the program the usual way; the
// catalog's journal keeps it valid even then. Destruction restores the earlier handling.
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    // Whether Ctrl-C came since this guard was made.
    static bool Requested();
};

} // namespace mirelon
