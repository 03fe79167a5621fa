#pragma once

#include <string>

// Writes out and drops from the page cache every file under `tree`, as after a restart, with
// no privileges needed. False when the pages stayed (a file system in memory, such as tmpfs,
// keeps them): a cold run is not possible there.
bool EvictTreeFromCache(const std::string& tree);
