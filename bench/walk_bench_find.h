#pragma once

#include <string>

// Seconds that `find TREE -type f` takes, its output sent to /dev/null; negative when it could
// not be run or failed.
double TimeFindSeconds(const std::string& tree);
