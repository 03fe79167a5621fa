#pragma once

#include <chrono>
#include <functional>

namespace mirelon {

// What a helper thread needs from the thread that runs the windows. The window system (or its
// absence) decides how calls are carried over and how a wait keeps the windows alive.
class IWindowThread {
public:
    enum class TWake { Ended, Event, Timeout };

    virtual ~IWindowThread() = default;

    virtual bool IsWindowThread() const = 0;

    // Runs call on the window thread and returns once it has run (at once when already there).
    // An exception of the call is raised again on the calling thread.
    virtual void RunOnWindowThread(const std::function<void()>& call) = 0;

    // Blocks until hasEnded() holds, any event arrives or quietLimit passes (zero: no limit).
    // Events that woke the wait may already have been handled.
    virtual TWake WaitForEndOrEvent(const std::function<bool()>& hasEnded,
                                    std::chrono::milliseconds quietLimit) = 0;

    // Handles every event pending on the window thread.
    virtual void HandlePendingEvents() = 0;

    // Blocks until hasEnded() holds, meanwhile serving only the calls that other threads hand
    // to the window thread, so a worker waiting in RunOnWindowThread can finish.
    virtual void WaitServingCalls(const std::function<bool()>& hasEnded) = 0;

    // Makes a pending wait look at hasEnded() again. Any thread.
    virtual void WakeUp() = 0;

    // The application has been asked to quit.
    virtual bool IsTerminating() const = 0;
};

} // namespace mirelon
