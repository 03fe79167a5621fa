#include "tests/support/process_signal.h"

#include <csignal>
#include <sys/types.h>

namespace mirelon::test {

void SendSignal(long long processId, int signalNumber) {
    ::kill(static_cast<pid_t>(processId), signalNumber);
}

} // namespace mirelon::test
