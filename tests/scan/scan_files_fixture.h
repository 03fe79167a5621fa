#pragma once

#include "scan/scan_files.h"
#include "tests/scan/scan_events.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mirelon::testing {

inline std::vector<std::string> Sorted(std::vector<std::string> values) {
    std::sort(values.begin(), values.end());
    return values;
}

// A scanner on one path, recording its events.
struct Walked {
    ScanEvents events;
    TScanFiles scanner;

    explicit Walked(const std::string& path) {
        scanner.SetPath(path);
        events.Attach(scanner);
    }
    ScanEvents& Run() {
        scanner.Execute();
        return events;
    }
};

class ScanFilesTree : public ::testing::Test {
protected:
    test::ScanTestTree tree;
};

} // namespace mirelon::testing
