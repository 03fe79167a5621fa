#include "thread/thread_ex.h"

#include <chrono>
#include <utility>

namespace mirelon {

TThreadEx::TThreadEx() : worker_(std::make_shared<TEventThread>(*this)) {}

TThreadEx::~TThreadEx() {
    *destroyed_ = true;
    // Handlers are skipped from now on, so serving the worker's calls is enough to let it end.
    worker_->Join();
}

TThreadPriority TThreadEx::Priority() const {
    return worker_->Priority();
}

void TThreadEx::SetPriority(TThreadPriority priority) {
    worker_->SetPriority(priority);
}

bool TThreadEx::Suspended() const {
    return worker_->Suspended();
}

void TThreadEx::SetSuspended(bool suspended) {
    if (suspended == worker_->Suspended()) {
        return;
    }
    if (suspended) {
        worker_->Suspend();
    } else {
        worker_->Resume();
    }
}

bool TThreadEx::IsRunning() const {
    return worker_->Running();
}

bool TThreadEx::InProgress() const {
    return worker_->InProgress();
}

bool TThreadEx::Terminated() const {
    return worker_->Terminated();
}

void TThreadEx::RunOnWindowThread(const std::function<void()>& call) {
    const auto destroyed = destroyed_;
    worker_->WindowThread().RunOnWindowThread([&] {
        if (!*destroyed) {
            call();
        }
    });
}

void TThreadEx::ReplaceWorker() {
    auto fresh = std::make_shared<TEventThread>(*this);
    fresh->SetPriority(worker_->Priority());
    // The old worker has either ended or never started; a never-started one is discarded.
    worker_ = std::move(fresh);
}

bool TThreadEx::Run() {
    // The window keeps handling user actions during a wait, so a second Run can arrive; a
    // worker thread is never replaced under a running job.
    if (worker_->InProgress()) {
        return false;
    }
    ReplaceWorker();
    const std::shared_ptr<TEventThread> worker = worker_;
    worker->Resume();
    if (!WaitThread) {
        return true;
    }

    const auto destroyed = destroyed_;
    IWindowThread& windowThread = worker->WindowThread();
    const auto ended = [&] { return worker->Finished(); };
    bool result = true;
    for (;;) {
        const auto wake =
            windowThread.WaitForEndOrEvent(ended, std::chrono::milliseconds(WaitTimeout));
        if (wake == IWindowThread::TWake::Timeout) {
            bool terminateThread = true;
            if (OnWaitTimeoutExpired) {
                OnWaitTimeoutExpired(*this, terminateThread);
            }
            if (terminateThread && !*destroyed) {
                Stop(true);
            }
            result = !terminateThread;
            break;
        }
        windowThread.HandlePendingEvents();
        if (wake == IWindowThread::TWake::Ended || *destroyed || windowThread.IsTerminating()) {
            break;
        }
    }
    if (worker->Finished() && worker->EscapedException()) {
        std::rethrow_exception(worker->EscapedException());
    }
    return result;
}

void TThreadEx::WaitForEnd(TEventThread& worker) {
    IWindowThread& windowThread = worker.WindowThread();
    const auto ended = [&] { return worker.Finished(); };
    const auto destroyed = destroyed_;
    while (!ended() && !*destroyed) {
        if (windowThread.IsTerminating()) {
            // Event loops may no longer block once quitting; only the worker's calls matter.
            windowThread.WaitServingCalls(ended);
            return;
        }
        windowThread.WaitForEndOrEvent(ended, std::chrono::milliseconds(0));
        windowThread.HandlePendingEvents();
    }
}

void TThreadEx::Stop(bool force) {
    const std::shared_ptr<TEventThread> worker = worker_;
    worker->Terminate();
    if (!force || worker->IsWorkerThread()) {
        return;
    }
    const auto destroyed = destroyed_;
    if (worker->InProgress()) {
        WaitForEnd(*worker);
    }
    if (!*destroyed && worker_ == worker) {
        ReplaceWorker();
    }
}

} // namespace mirelon
