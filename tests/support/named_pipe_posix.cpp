#include "tests/support/named_pipe.h"

#include <stdexcept>
#include <sys/stat.h>

namespace mirelon::test {

std::string MakeNamedPipe(const std::string& path) {
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo failed on " + path);
    }
    return path;
}

} // namespace mirelon::test
