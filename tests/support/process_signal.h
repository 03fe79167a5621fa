#pragma once

namespace mirelon::test {

// Sends the signal (SIGTERM, SIGHUP, ...) to a process the test started.
void SendSignal(long long processId, int signalNumber);

} // namespace mirelon::test
