#pragma once

// Wall-clock timing shared by the benchmarks that race the program against a shell command.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

inline double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The seconds `command` took in the shell; a failing command ends the benchmark.
inline double TimeCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "command failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

} // namespace bench
