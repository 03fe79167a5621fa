#include "thread/plain_window_thread.h"

#include <utility>

namespace mirelon {

TPlainWindowThread::TPlainWindowThread() : windowThread_(std::this_thread::get_id()) {}

bool TPlainWindowThread::IsWindowThread() const {
    return std::this_thread::get_id() == windowThread_;
}

IWindowThread::TWake TPlainWindowThread::WaitForEndOrEvent(const std::function<bool()>& hasEnded,
                                                           std::chrono::milliseconds quietLimit) {
    return WaitOnQueue(hasEnded, quietLimit, [this] { return quitRequested_.load(); });
}

void TPlainWindowThread::HandlePendingEvents() {
    if (IsWindowThread()) {
        ServePendingCalls();
    }
}

bool TPlainWindowThread::IsTerminating() const {
    return quitRequested_.load();
}

void TPlainWindowThread::PostEvent(std::function<void()> event) {
    Post(std::move(event));
}

void TPlainWindowThread::RequestQuit() {
    quitRequested_ = true;
    WakeUp();
}

} // namespace mirelon
