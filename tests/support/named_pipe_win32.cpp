#include "tests/support/named_pipe.h"

#include "base/wide_path.h"

#include <windows.h>

#include <stdexcept>

namespace mirelon::test {

std::string MakeNamedPipe(const std::string&) {
    static int count = 0;
    const std::string path = "\\\\.\\pipe\\mirelon-test-" +
                             std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++count);
    // The server end stays open until the test program ends, so the pipe exists meanwhile.
    const HANDLE server = ::CreateNamedPipeW(WideText(path).c_str(), PIPE_ACCESS_DUPLEX,
                                             PIPE_TYPE_BYTE | PIPE_WAIT, 4, 4096, 4096, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot make the pipe " + path);
    }
    return path;
}

} // namespace mirelon::test
