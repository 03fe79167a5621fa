#pragma once

#include "thread/event_thread.h"
#include "thread/thread_priority.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace mirelon {

using TThreadWaitTimeoutExpired = std::function<void(TThreadEx& sender, bool& terminateThread)>;

// Runs OnExecute on a fresh operating-system thread per Run. With WaitThread on, Run returns
// when the run has ended while the window thread keeps handling its events.
class TThreadEx {
public:
    TThreadEx();
    // A run still under way is asked to stop and waited for; it is never cut off.
    ~TThreadEx();

    TThreadEx(const TThreadEx&) = delete;
    TThreadEx& operator=(const TThreadEx&) = delete;

    // OnExecute and OnTerminate exceptions go to OnException instead of leaving the handler.
    bool HandleExceptions = true;
    bool WaitThread = false;
    // Longest quiet wait in Run, in milliseconds; 0: no limit.
    std::uint32_t WaitTimeout = 0;

    TThreadExEvent OnException;                     // window thread, after a handler raised
    TThreadExEvent OnExecute;                       // worker thread: the work
    TThreadExEvent OnTerminate;                     // window thread, when a run has ended
    TThreadWaitTimeoutExpired OnWaitTimeoutExpired; // waiting thread

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);
    bool Suspended() const;
    void SetSuspended(bool suspended);

    // Starts a run on a new thread. False, and nothing started, while a run is in progress.
    // After a wait that timed out: the negation of the final terminateThread.
    bool Run();
    // Sets the terminated flag; with force also waits for the run to end (handling events)
    // and puts a fresh suspended worker in place.
    void Stop(bool force);
    // OnExecute is under way.
    bool IsRunning() const;
    // A run has started and not yet ended (its OnTerminate included).
    bool InProgress() const;
    // Stop was asked for: a long job polls this to end early.
    bool Terminated() const;

    // For a job: runs call on the window thread and waits for it; skipped once this component
    // is being destroyed, since the windows the call would touch may be half gone.
    void RunOnWindowThread(const std::function<void()>& call);

    bool Destroying() const { return *destroyed_; }

private:
    void ReplaceWorker();
    void WaitForEnd(TEventThread& worker);

    std::shared_ptr<TEventThread> worker_;
    // Outlives this object for a Run whose wait handled the event that destroyed it.
    std::shared_ptr<std::atomic<bool>> destroyed_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace mirelon
