#pragma once
// Waiting in window tests the way the program runs: the event loop may
// block, so the idle hook runs too (QTest::qWait never lets it block).
#include <functional>

namespace sorvi::testing {

inline constexpr int kWaitTimeoutMs = 15000;

// Runs the event loop for `ms` milliseconds.
void Spin(int ms);

// Runs the event loop until `done` holds; false after `timeout_ms`.
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = kWaitTimeoutMs);

}  // namespace sorvi::testing
