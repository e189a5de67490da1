// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When a page that could not get through is tried again. A failure for a passing reason (no connection,
// a time-out, a server's 4xx reply, a busy line) waits 1, 2, 4 and 8 minutes, then every 15, as long as
// the next attempt starts within the retry minutes; a refusal for good (a 5xx reply, a refused pager,
// login or certificate) is final.
//
// The retry minutes are counted on the attempts' own schedule: the first attempt starts at 0, the next
// ones at 1, 3, 7, 15, 30, 45 … minutes (each wait added to the last start), whatever the attempts
// themselves take and wherever the system clock jumps. With 1 minute a page is tried once more after a
// minute; with 60 it is tried eight times, the last at the 60th minute.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zolbin {

enum class FailureKind
{
    Passing,
    Final,
    Unknown // the page may have gone (a modem silent after taking it): never tried again by itself
};

// The wait after the given number of failed attempts (1 for the first failure).
std::int64_t RetryIntervalMs(int failedAttempts);

// The moment of the next attempt, or nothing when the failure is final or that attempt would start,
// on the schedule above, later than retryWindowMs after the first (0: no retries).
std::optional<std::int64_t> NextAttemptMs(FailureKind kind, int failedAttempts, std::int64_t nowMs,
                                          std::int64_t retryWindowMs);

// What a negative SMTP or SNPP reply means for the page: 4xx (421 included) passes, anything else is
// final.
FailureKind KindOfReply(std::string_view reply);

} // namespace zolbin
