#pragma once

#include "thread/window_thread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace mirelon {

// The call queue shared by every window-thread flavour: workers queue calls, the window thread
// serves them. Waits on a thread that is not the window thread only watch the queue.
class TWindowThreadBase : public IWindowThread {
public:
    void RunOnWindowThread(const std::function<void()>& call) override;
    void WaitServingCalls(const std::function<bool()>& hasEnded) override;
    void WakeUp() override;

protected:
    // Queues a call that nobody waits for.
    void Post(std::function<void()> call);

    // Runs the queued calls on this thread; true when there was any.
    bool ServePendingCalls();

    // Waits on the queue: Event when a call is queued (or wakeEarly() holds), Ended when
    // hasEnded() holds, Timeout after quietLimit (zero: no limit).
    TWake WaitOnQueue(const std::function<bool()>& hasEnded, std::chrono::milliseconds quietLimit,
                      const std::function<bool()>& wakeEarly = {});

    // A call was queued; flavours that have an event loop of their own nudge it here.
    virtual void CallQueued() {}
    // WakeUp was called; likewise.
    virtual void Woken() {}

private:
    struct TCallState {
        bool done = false;
        std::exception_ptr failure;
    };
    struct TQueuedCall {
        std::function<void()> call;
        std::shared_ptr<TCallState> state;
    };

    void Enqueue(TQueuedCall queued);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TQueuedCall> calls_;
};

} // namespace mirelon
