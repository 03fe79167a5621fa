#pragma once

#include "thread/window_thread_base.h"

#include <atomic>
#include <thread>

namespace mirelon {

// Window thread without a window system: the thread that creates it plays the window thread,
// and its events are the calls queued for it. Used by the command line and by engine tests.
class TPlainWindowThread : public TWindowThreadBase {
public:
    TPlainWindowThread();

    bool IsWindowThread() const override;
    TWake WaitForEndOrEvent(const std::function<bool()>& hasEnded,
                            std::chrono::milliseconds quietLimit) override;
    void HandlePendingEvents() override;
    bool IsTerminating() const override;

    // Queues an event for the window thread. Any thread.
    void PostEvent(std::function<void()> event);

    // Asks the application to quit: waits on the window thread end early from now on.
    void RequestQuit();

private:
    std::thread::id windowThread_;
    std::atomic<bool> quitRequested_{false};
};

} // namespace mirelon
