#pragma once

#include "thread/thread_priority.h"
#include "thread/window_thread.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace mirelon {

class TThreadEx;

using TThreadExEvent = std::function<void(TThreadEx& sender)>;

// One run of a TThreadEx: an operating-system thread that is created only when the worker is
// first resumed, so a worker that is never resumed never runs.
class TEventThread {
public:
    explicit TEventThread(TThreadEx& owner);
    // Waits for a started run to end (serving the calls it hands to the window thread).
    ~TEventThread();

    TEventThread(const TEventThread&) = delete;
    TEventThread& operator=(const TEventThread&) = delete;

    // Starts the thread on the first resume, taking the owner's handlers as they are then.
    void Resume();
    // Only a worker that has not started can be held back: a running thread cannot be frozen
    // safely here, so suspending one is ignored.
    void Suspend();
    bool Suspended() const { return suspended_.load(); }

    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_.load(); }

    // True while the owner's OnExecute handler is under way.
    bool Running() const { return running_.load(); }
    bool Started() const { return started_; }
    // The run, OnTerminate included, has ended.
    bool Finished() const { return finished_.load(); }
    bool InProgress() const { return started_ && !Finished(); }
    bool IsWorkerThread() const;

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);

    // Calls handler(owner) on the window thread and waits for it. Nothing happens while the
    // owner is being destroyed. A raised exception is dropped, or with HandleExceptions off
    // raised again here.
    void RunOnWindowThread(const TThreadExEvent& handler);

    IWindowThread& WindowThread() { return *windowThread_; }

    // With HandleExceptions off: what the run's handlers let out, for Run to raise again.
    std::exception_ptr EscapedException() const { return escaped_; }

    // Waits until the started thread has ended and joins it. Never from the worker itself.
    void Join();

private:
    void Body();
    void ApplyPriority();

    TThreadEx& owner_;
    std::shared_ptr<IWindowThread> windowThread_;
    std::thread thread_;
    bool started_ = false;
    std::atomic<TNativeThreadId> threadId_{0};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> suspended_{true};
    std::atomic<bool> running_{false};
    std::atomic<bool> finished_{false};

    mutable std::mutex priorityLock_;
    TThreadPriority requestedPriority_ = tpNormal;
    bool priorityApplied_ = false;

    // Taken from the owner when the thread starts, so the window thread may change the
    // owner's handlers during a run without racing the worker.
    bool handleExceptions_ = true;
    TThreadExEvent onExecute_;
    TThreadExEvent onException_;
    TThreadExEvent onTerminate_;
    std::exception_ptr escaped_;
};

} // namespace mirelon
