// SPDX-License-Identifier: GPL-3.0-or-later
// When a page that failed is tried again.
#include "dispatch/RetryPolicy.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

constexpr std::int64_t Minute = 60 * 1000;

struct RetryCase
{
    FailureKind kind;
    int failedAttempts;
    std::int64_t window;              // the retry minutes
    std::optional<std::int64_t> next; // minutes after now
};

// The next attempt is made while its start on the schedule (1, 3, 7, 15, 30 … minutes after the first)
// is within the retry minutes.
TEST(RetryPolicy, GrowingIntervalsWithinTheRetryMinutesAndNoneAfterAFinalRefusal)
{
    const std::int64_t now = 1000 * Minute;
    const RetryCase cases[] = {
        {FailureKind::Passing, 1, 60, 1},          {FailureKind::Passing, 2, 60, 2},
        {FailureKind::Passing, 3, 60, 4},          {FailureKind::Passing, 4, 60, 8},
        {FailureKind::Passing, 7, 60, 15},         {FailureKind::Passing, 8, 60, std::nullopt},
        {FailureKind::Passing, 4, 15, 8},          {FailureKind::Passing, 4, 14, std::nullopt},
        {FailureKind::Final, 1, 60, std::nullopt}, {FailureKind::Unknown, 1, 60, std::nullopt},
    };
    for (const RetryCase& c : cases) {
        const auto next = NextAttemptMs(c.kind, c.failedAttempts, now, c.window * Minute);
        const auto expected = c.next ? std::optional<std::int64_t>(now + *c.next * Minute) : std::nullopt;
        EXPECT_EQ(next, expected) << "after " << c.failedAttempts << " failed attempts";
    }
    EXPECT_EQ(KindOfReply("421 closing\r\n"), FailureKind::Passing);
    EXPECT_EQ(KindOfReply("450 mailbox busy"), FailureKind::Passing);
    EXPECT_EQ(KindOfReply("550 no such user"), FailureKind::Final);
    EXPECT_EQ(KindOfReply("334 "), FailureKind::Final);
}

} // namespace
} // namespace zolbin
