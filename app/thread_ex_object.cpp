#include "app/thread_ex_object.h"

namespace mirelon {

TThreadExObject::TThreadExObject(const QString& objectName, QObject* parent) : QObject(parent) {
    setObjectName(objectName);
}

void TThreadExObject::SetPriority(int value) {
    if (value >= tpIdle && value <= tpTimeCritical) {
        thread_.SetPriority(static_cast<TThreadPriority>(value));
    }
}

} // namespace mirelon
