// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/RetryPolicy.h"

#include <algorithm>

namespace zolbin {

namespace {
constexpr std::int64_t MinuteMs = 60 * 1000;
constexpr int DoublingAttempts = 4; // 1, 2, 4, 8 minutes
constexpr std::int64_t LongestWaitMs = 15 * MinuteMs;
} // namespace

std::int64_t RetryIntervalMs(int failedAttempts)
{
    if (failedAttempts < 1)
        return MinuteMs;
    if (failedAttempts > DoublingAttempts)
        return LongestWaitMs;
    return std::min(LongestWaitMs, MinuteMs << (failedAttempts - 1));
}

std::optional<std::int64_t> NextAttemptMs(FailureKind kind, int failedAttempts, std::int64_t nowMs,
                                          std::int64_t retryWindowMs)
{
    if (kind != FailureKind::Passing || retryWindowMs <= 0)
        return std::nullopt;
    // Where the next attempt stands on the schedule: the sum of the waits before it.
    std::int64_t scheduled = 0;
    for (int failed = 1; failed <= failedAttempts && scheduled <= retryWindowMs; ++failed)
        scheduled += RetryIntervalMs(failed);
    if (scheduled > retryWindowMs)
        return std::nullopt;
    return nowMs + RetryIntervalMs(failedAttempts);
}

FailureKind KindOfReply(std::string_view reply)
{
    return !reply.empty() && reply[0] == '4' ? FailureKind::Passing : FailureKind::Final;
}

} // namespace zolbin
