#pragma once

#include <chrono>
#include <functional>

namespace mirelon::test {

// Polls `condition` until it holds or `limit` has passed, and says whether it held: a test that
// waits for another thread fails on a fault instead of hanging.
bool Eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(10));

} // namespace mirelon::test
