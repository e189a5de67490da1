// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The deadlines of the waits on a line (socket, TLS session, serial port): a moment on the monotonic
// clock, and the milliseconds left until it.

#include <chrono>

namespace zolbin::net {

using SteadyClock = std::chrono::steady_clock;

// Milliseconds left until the deadline; 0 once it has passed.
inline int MsLeft(SteadyClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

} // namespace zolbin::net
