#include "cli/cli_console.h"
#include "cli/cli_runner.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const mirelon::TCliConsole console(argc, argv);
    mirelon::CliStreams streams{std::cin, std::cout, std::cerr};
    return mirelon::RunCli(console.Arguments(), streams);
}
