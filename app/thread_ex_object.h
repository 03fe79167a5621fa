#pragma once

#include "thread/thread_ex.h"

#include <QObject>

namespace mirelon {

// Puts a TThreadEx among a window's named objects, so it is found by name like any control
// and its stored properties can be read and written through Qt's property system.
class TThreadExObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool HandleExceptions READ HandleExceptions WRITE SetHandleExceptions)
    Q_PROPERTY(int Priority READ Priority WRITE SetPriority)
    Q_PROPERTY(bool WaitThread READ WaitThread WRITE SetWaitThread)
    Q_PROPERTY(uint WaitTimeout READ WaitTimeout WRITE SetWaitTimeout)

public:
    TThreadExObject(const QString& objectName, QObject* parent);

    TThreadEx& Thread() { return thread_; }

    bool HandleExceptions() const { return thread_.HandleExceptions; }
    void SetHandleExceptions(bool value) { thread_.HandleExceptions = value; }
    int Priority() const { return thread_.Priority(); }
    void SetPriority(int value);
    bool WaitThread() const { return thread_.WaitThread; }
    void SetWaitThread(bool value) { thread_.WaitThread = value; }
    uint WaitTimeout() const { return thread_.WaitTimeout; }
    void SetWaitTimeout(uint value) { thread_.WaitTimeout = value; }

private:
    TThreadEx thread_;
};

} // namespace mirelon
