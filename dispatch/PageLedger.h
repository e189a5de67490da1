// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the send command tells the outbox about each recipient's page: that an attempt starts (before
// its first byte), that the page was accepted, or that it failed, and at the end which pages it never
// reached. Recipients are counted from 0 in the command's order (the one subscriber is 0).

#include "dispatch/RetryPolicy.h"
#include "platform/Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zolbin {

// What becomes of a page that was not accepted.
struct RetryDecision
{
    std::optional<std::int64_t> nextMs; // when it is tried again; nothing: it has failed for good
    int nextAttempt = 0;                // the number of that attempt (the first sending is attempt 1)
    bool exhausted = false;             // retries are on and the failure passes, but no attempt is left
};

class PageLedger
{
public:
    virtual ~PageLedger() = default;

    // Before the recipient's first byte. False: the page is no longer this command's to send (withdrawn
    // by the operator, or taken by another worker); it is passed over without a word. A failure stops the
    // command before anything more is sent.
    virtual Result<bool> Starting(int recipient) = 0;
    virtual Status Sent(int recipient) = 0;
    // The page was not accepted: whether and when it is tried again (not when the failure is final, no
    // retries are set, or no attempt is left within the retry minutes).
    virtual Result<RetryDecision> Failed(int recipient, FailureKind kind, const std::string& reply) = 0;
    // The command is over: the pages it never reached end as withdrawn (`cancelled`) or failed with the
    // reason. The ledger lets go of the outbox.
    virtual Status Close(bool cancelled, const std::string& reason) = 0;
};

} // namespace zolbin
