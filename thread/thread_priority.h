#pragma once

#include <optional>

namespace mirelon {

// Scheduling levels of a helper thread, lowest first.
enum TThreadPriority : int {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// The nice value that stands for a level on this platform.
int NiceValueOf(TThreadPriority priority);

// The last level whose nice value matches; tpNormal when none does.
TThreadPriority ThreadPriorityOfNice(int nice);

// Kernel id of one thread, valid while that thread lives.
using TNativeThreadId = long;

TNativeThreadId CurrentNativeThreadId();

// Sets the nice value of one thread only. False when refused (raising needs privileges).
bool SetNativeThreadNice(TNativeThreadId thread, int nice);

// The nice value of one thread; empty when it cannot be read (the thread has gone).
std::optional<int> NativeThreadNice(TNativeThreadId thread);

} // namespace mirelon
