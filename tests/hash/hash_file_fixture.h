#pragma once

#include "tests/support/temp_folder.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace mirelon::test {

constexpr int32_t kMd5 = 259, kCrc32b = 261;

class HashFileTest : public ::testing::Test {
protected:
    TTempFolder folder_;
};

} // namespace mirelon::test
