#include "app/qt_window_thread.h"

#include "thread/plain_window_thread.h"
#include "thread/window_thread_registry.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>

namespace mirelon {

namespace {

// The hidden object on the GUI thread. It also notices quit requests, which arrive as a Quit
// event to the application object.
class TThreadWindow : public QObject {
public:
    explicit TThreadWindow(std::shared_ptr<std::atomic<bool>> quitRequested)
        : quitRequested_(std::move(quitRequested)) {
        setObjectName(QStringLiteral("TacThreadWindow"));
    }

    void Watch() {
        QCoreApplication* application = QCoreApplication::instance();
        application->installEventFilter(this);
        connect(application, &QCoreApplication::aboutToQuit, this,
                [flag = quitRequested_] { *flag = true; });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
            *quitRequested_ = true;
        }
        return false;
    }

private:
    std::shared_ptr<std::atomic<bool>> quitRequested_;
};

} // namespace

std::shared_ptr<IWindowThread> TQtWindowThread::Make() {
    if (QCoreApplication::instance() == nullptr) {
        return std::make_shared<TPlainWindowThread>();
    }
    return std::shared_ptr<TQtWindowThread>(new TQtWindowThread());
}

TQtWindowThread::TQtWindowThread()
    : guiThread_(QCoreApplication::instance()->thread()),
      quitRequested_(std::make_shared<std::atomic<bool>>(false)) {
    auto* window = new TThreadWindow(quitRequested_);
    threadWindow_ = window;
    if (QThread::currentThread() == guiThread_) {
        window->Watch();
    } else {
        window->moveToThread(guiThread_);
        QMetaObject::invokeMethod(
            window, [window] { window->Watch(); }, Qt::QueuedConnection);
    }
}

TQtWindowThread::~TQtWindowThread() {
    if (threadWindow_ == nullptr) {
        return;
    }
    // The last release may happen inside a call delivered to the hidden object itself.
    if (QCoreApplication::instance() != nullptr) {
        threadWindow_->deleteLater();
    } else {
        delete threadWindow_.data();
    }
}

bool TQtWindowThread::IsWindowThread() const {
    return QThread::currentThread() == guiThread_;
}

void TQtWindowThread::CallQueued() {
    QObject* window = threadWindow_.data();
    if (window == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        window,
        [weak = weak_from_this()] {
            if (const auto self = weak.lock()) {
                self->ServePendingCalls();
            }
        },
        Qt::QueuedConnection);
}

void TQtWindowThread::Woken() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(guiThread_)) {
        dispatcher->wakeUp();
    }
}

IWindowThread::TWake TQtWindowThread::WaitForEndOrEvent(const std::function<bool()>& hasEnded,
                                                        std::chrono::milliseconds quietLimit) {
    if (!IsWindowThread()) {
        return WaitOnQueue(hasEnded, quietLimit);
    }
    if (hasEnded()) {
        return TWake::Ended;
    }
    bool quietPassed = false;
    QTimer quiet;
    if (quietLimit.count() > 0) {
        quiet.setSingleShot(true);
        quiet.setTimerType(Qt::PreciseTimer);
        QObject::connect(&quiet, &QTimer::timeout, [&quietPassed] { quietPassed = true; });
        quiet.start(quietLimit);
    }
    // Returns once anything was delivered, including the wake-up of a worker that has ended.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (hasEnded()) {
        return TWake::Ended;
    }
    return quietPassed ? TWake::Timeout : TWake::Event;
}

void TQtWindowThread::HandlePendingEvents() {
    if (!IsWindowThread()) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ServePendingCalls();
}

bool TQtWindowThread::IsTerminating() const {
    return *quitRequested_ || QCoreApplication::closingDown();
}

void InstallQtWindowThread() {
    SetWindowThreadFactory(&TQtWindowThread::Make);
}

} // namespace mirelon
