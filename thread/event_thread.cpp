#include "thread/event_thread.h"

#include "thread/thread_ex.h"
#include "thread/window_thread_registry.h"

namespace mirelon {

TEventThread::TEventThread(TThreadEx& owner)
    : owner_(owner), windowThread_(RegisterWithWindowThread()) {}

TEventThread::~TEventThread() {
    Join();
}

void TEventThread::Join() {
    if (!thread_.joinable()) {
        return;
    }
    terminated_ = true;
    windowThread_->WaitServingCalls([this] { return Finished(); });
    thread_.join();
}

void TEventThread::Resume() {
    if (started_) {
        return;
    }
    handleExceptions_ = owner_.HandleExceptions;
    onExecute_ = owner_.OnExecute;
    onException_ = owner_.OnException;
    onTerminate_ = owner_.OnTerminate;
    started_ = true;
    suspended_ = false;
    thread_ = std::thread([this] { Body(); });
}

void TEventThread::Suspend() {
    if (!started_) {
        suspended_ = true;
    }
}

bool TEventThread::IsWorkerThread() const {
    return started_ && thread_.get_id() == std::this_thread::get_id();
}

TThreadPriority TEventThread::Priority() const {
    std::lock_guard lock(priorityLock_);
    const TNativeThreadId thread = threadId_.load();
    if (thread != 0 && !Finished() && priorityApplied_) {
        if (const auto nice = NativeThreadNice(thread)) {
            return ThreadPriorityOfNice(*nice);
        }
    }
    // Not running, or the system refused the level: the requested level carries over.
    return requestedPriority_;
}

void TEventThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(priorityLock_);
    requestedPriority_ = priority;
    const TNativeThreadId thread = threadId_.load();
    if (thread != 0 && !Finished()) {
        priorityApplied_ = SetNativeThreadNice(thread, NiceValueOf(priority));
    }
}

void TEventThread::ApplyPriority() {
    std::lock_guard lock(priorityLock_);
    threadId_ = CurrentNativeThreadId();
    priorityApplied_ = SetNativeThreadNice(threadId_.load(), NiceValueOf(requestedPriority_));
}

void TEventThread::RunOnWindowThread(const TThreadExEvent& handler) {
    std::exception_ptr raised;
    windowThread_->RunOnWindowThread([&] {
        if (owner_.Destroying()) {
            return;
        }
        try {
            handler(owner_);
        } catch (...) {
            raised = std::current_exception();
        }
    });
    if (raised && !handleExceptions_) {
        std::rethrow_exception(raised);
    }
}

void TEventThread::Body() {
    ApplyPriority();
    running_ = true;
    if (onExecute_ && !owner_.Destroying()) {
        if (handleExceptions_) {
            try {
                onExecute_(owner_);
            } catch (...) {
                if (onException_ && !owner_.Destroying()) {
                    RunOnWindowThread(onException_);
                }
            }
        } else {
            try {
                onExecute_(owner_);
            } catch (...) {
                escaped_ = std::current_exception();
            }
        }
    }
    running_ = false;
    if (onTerminate_) {
        try {
            RunOnWindowThread([this](TThreadEx& sender) {
                if (!handleExceptions_) {
                    onTerminate_(sender);
                    return;
                }
                try {
                    onTerminate_(sender);
                } catch (...) {
                    if (onException_) {
                        onException_(sender);
                    }
                }
            });
        } catch (...) {
            if (!escaped_) {
                escaped_ = std::current_exception();
            }
        }
    }
    finished_ = true;
    windowThread_->WakeUp();
}

} // namespace mirelon
