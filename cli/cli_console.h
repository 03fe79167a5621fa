#pragma once

#include <string>
#include <vector>

namespace mirelon {

// The program's arguments and standard streams as the commands expect them: arguments as UTF-8,
// streams that carry bytes unchanged, and a console that shows UTF-8 text. On Linux that is how
// they come; on Windows the arguments are read as UTF-16 from the system, the streams are put
// into binary mode (no CR added before LF, no stop at Ctrl-Z in a piped file), and the console's
// output code page and escape handling are set while the guard lives and restored afterwards.
class TCliConsole {
public:
    TCliConsole(int argc, char** argv);
    ~TCliConsole();
    TCliConsole(const TCliConsole&) = delete;
    TCliConsole& operator=(const TCliConsole&) = delete;

    // The arguments after the program's own name.
    const std::vector<std::string>& Arguments() const { return arguments_; }

private:
    std::vector<std::string> arguments_;
    unsigned outputCodePage_ = 0;
    unsigned long errorMode_ = 0;
    bool errorModeChanged_ = false;
};

} // namespace mirelon
