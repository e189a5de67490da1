// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for another process (a program under test, a peer) to reach a state: the condition polled
// until it holds or the time is up.

#include <chrono>
#include <functional>
#include <thread>

namespace zolbin::test {

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace zolbin::test
