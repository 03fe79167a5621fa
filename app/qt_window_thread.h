#pragma once

#include "thread/window_thread_base.h"

#include <QPointer>

#include <atomic>
#include <memory>

class QObject;
class QThread;

namespace mirelon {

// The window thread of a Qt program: calls reach the GUI thread through a hidden object living
// there, and waits run the Qt event loop so the windows stay responsive.
class TQtWindowThread : public TWindowThreadBase,
                        public std::enable_shared_from_this<TQtWindowThread> {
public:
    // The plain flavour when no application object exists yet.
    static std::shared_ptr<IWindowThread> Make();
    ~TQtWindowThread() override;

    bool IsWindowThread() const override;
    TWake WaitForEndOrEvent(const std::function<bool()>& hasEnded,
                            std::chrono::milliseconds quietLimit) override;
    void HandlePendingEvents() override;
    bool IsTerminating() const override;

protected:
    void CallQueued() override;
    void Woken() override;

private:
    TQtWindowThread();

    QThread* guiThread_;
    QPointer<QObject> threadWindow_;
    std::shared_ptr<std::atomic<bool>> quitRequested_;
};

// Makes every helper thread created from now on use the Qt window thread.
void InstallQtWindowThread();

} // namespace mirelon
