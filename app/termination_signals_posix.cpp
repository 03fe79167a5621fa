#include "app/termination_signals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace mirelon {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe, for the handler; -1 when nothing catches.
volatile sig_atomic_t pipeWriteEnd = -1;

extern "C" void OnTerminationSignal(int) {
    // Only async-signal-safe calls here: one byte into a pipe that never blocks.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipeWriteEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

// The handler writes into a pipe; a notifier on its read end brings the request to the event loop.
struct TTerminationSignals::TCatcher {
    std::array<int, 2> pipe{-1, -1};
    std::array<struct sigaction, kSignals.size()> previous{};
    std::array<bool, kSignals.size()> caught{};
    QSocketNotifier* notifier = nullptr;
};

TTerminationSignals::TTerminationSignals(QObject* parent)
    : QObject(parent), catcher_(std::make_unique<TCatcher>()) {
    if (pipeWriteEnd != -1 || pipe2(catcher_->pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    pipeWriteEnd = catcher_->pipe[1];
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction& previous = catcher_->previous[i];
        // A signal ignored from the start (nohup) stays ignored.
        if (sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        catcher_->caught[i] = sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TTerminationSignals::~TTerminationSignals() {
    if (catcher_->pipe[0] == -1) {
        return;
    }
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (catcher_->caught[i]) {
            sigaction(kSignals[i], &catcher_->previous[i], nullptr);
        }
    }
    pipeWriteEnd = -1;
    delete catcher_->notifier;
    close(catcher_->pipe[0]);
    close(catcher_->pipe[1]);
}

void TTerminationSignals::Start() {
    if (catcher_->pipe[0] == -1 || catcher_->notifier != nullptr) {
        return;
    }
    catcher_->notifier = new QSocketNotifier(catcher_->pipe[0], QSocketNotifier::Read, this);
    connect(catcher_->notifier, &QSocketNotifier::activated, this, [this] {
        // Several signals in a row are one request.
        char bytes[64];
        while (read(catcher_->pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit Requested();
    });
}

} // namespace mirelon
