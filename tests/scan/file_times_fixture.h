#pragma once

#include "tests/scan/facts_test_files.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace mirelon::testing {

constexpr int64_t kDay = 86400;
constexpr int64_t kUnixEpochDay = 25569; // 1970-01-01 as a date-time
constexpr int64_t k20210615 = 44362;     // 2021-06-15 as a date-time
constexpr int64_t k20210615TenUtc = (k20210615 - kUnixEpochDay) * kDay + 10 * 3600;
constexpr double kTenMicrosecondsInDays = 1e-5 / 86400;

class FileTimesOnDisk : public ::testing::Test {
protected:
    test::TTempFolder dir;
};

} // namespace mirelon::testing
