// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ledger of one send over the outbox's pages (one per recipient, in the command's order). The outbox
// is opened on first use, on the thread that runs the command, and let go by Close().

#include "dispatch/LeaseKeeper.h"
#include "dispatch/PageLedger.h"
#include "records/Outbox.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace zolbin {

class OutboxLedger final : public PageLedger
{
public:
    using Opener = std::function<Result<std::unique_ptr<Outbox>>()>;

    OutboxLedger(Opener open, std::vector<std::string> ids);
    // Also told of the outbox the pages were written with: a command that runs on that outbox's thread
    // uses it rather than opening its own (the outbox must outlive such a run).
    OutboxLedger(Opener open, std::vector<std::string> ids, Outbox& writtenWith);

    // The one page was claimed already by its worker (a shared outbox's ClaimDue): it is not claimed
    // again, only looked at to be still the worker's.
    void setClaimed() { claimed_ = true; }
    // The pages (by recipient) this send passes over and leaves as they are, even at its end: another
    // machine's workers send them.
    void passOver(std::vector<bool> others);

    Result<bool> Starting(int recipient) override;
    Status Sent(int recipient) override;
    Result<RetryDecision> Failed(int recipient, FailureKind kind, const std::string& reply) override;
    Status Close(bool cancelled, const std::string& reason) override;

private:
    enum class Step
    {
        Untouched,
        Claimed,
        Ended
    };
    Status ensureOpen();
    // Runs a step on the outbox; on a shared outbox whose server is away it runs it again every moment
    // until the server is back (at most ServerAwayWaitMs): the page's outcome is never lost to a restart.
    template <class Write> auto whenBack(Write step) -> decltype(step());
    // The shared database's clock, else the program's.
    std::int64_t now();
    const std::string* idOf(int recipient) const;

    Opener open_;
    std::unique_ptr<Outbox> own_;
    Outbox* outbox_ = nullptr;
    Outbox* writtenWith_ = nullptr;
    std::thread::id writtenOn_;
    std::vector<std::string> ids_;
    std::vector<Step> steps_;
    OutboxPage current_; // the page of the recipient being served, as claimed
    bool claimed_ = false;
    std::vector<bool> others_;
    LeaseKeeper lease_; // renews the claim of the page under way on a shared outbox
};

// How long a send waits for a shared outbox's server that went away, to record what became of its page.
inline constexpr std::int64_t ServerAwayWaitMs = 10LL * 60 * 1000;

// The milliseconds since the epoch of the clock the program reads (a test's clock in tests).
std::int64_t NowMs();

} // namespace zolbin
