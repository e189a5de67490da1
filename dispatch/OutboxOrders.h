// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between a send order and the outbox: the order's pages (one per recipient, in the order the send
// command serves them) written before anything is sent, and a page that falls due made into an order of
// its own. Also what every worker of the outbox (the window, zolbin-send --work-outbox) does alike: look
// for the pages due and let go of old finished ones.

#include "dispatch/SendJob.h"
#include "records/Outbox.h"

namespace zolbin {

enum class PageHolder
{
    Sender, // the sender that adds the pages sends them itself now (held from the workers meanwhile)
    Worker  // the pages are due at once for whoever works the outbox
};

// Writes the order's pages into the outbox in one transaction and gives the order the ledger of them;
// each page keeps its company's record and gate as the order has them, and on a shared outbox its times
// are the server's (nowMs is then not used):
// a send run on this thread records in this outbox (which must outlive it), one on another thread opens
// the folder's outbox for itself. With retryMinutes above 0 a page that fails
// for a passing reason is tried again within that many minutes (RetryPolicy). Gives how many pages.
// A page of a gate not in `gates` (bits of the gate numbers) is due at once for the workers that send it
// and passed over by the order's send (order.othersPageIds).
Result<int> EnqueueOrder(SendOrder& order, Outbox& outbox, PageHolder holder, int retryMinutes,
                         std::int64_t nowMs, std::uint32_t gates = AllGates);

// A page taken in from another system: its orders' pages (one batch) written in one transaction, all or
// none, due for whoever works the outbox at once or, with heldUntilMs, not before then (their retries
// counted from then), each marked with the system's key of its request. Gives their ids in order; the
// orders get no ledger (the worker sends them).
struct TakenIn
{
    std::string key;                         // cp1251; empty when none was given
    std::optional<std::int64_t> heldUntilMs; // ms since the epoch
};
Result<std::vector<std::string>> EnqueueTakenIn(const std::vector<SendOrder>& orders, Outbox& outbox,
                                                const TakenIn& takenIn, int retryMinutes, std::int64_t nowMs);
// Pages taken in at the same moment, each with its orders (one batch of its own), key and hold: all
// written in one transaction (one disk sync), all or none. Gives each one's ids in their order.
struct TakenInPage
{
    std::vector<SendOrder> orders;
    TakenIn takenIn;
};
Result<std::vector<std::vector<std::string>>>
EnqueueTakenIn(const std::vector<TakenInPage>& taken, Outbox& outbox, int retryMinutes, std::int64_t nowMs);

// The order that sends a page that fell due, alone, through the companies as they are now. The caller
// fills the settings, the journal and the secrets; the page's outbox is the folder's.
SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers, const DataFolder& folder);
// The same for a page of the place's outbox. On a shared outbox the page goes through its company's
// record as the desk that queued it saw it; a page the worker has claimed already ("sending", from
// ClaimDue) is sent without another claim. sameThread: the place's outbox already open on the thread that
// will run the order (the worker's), which its steps then go through instead of a connection of their own.
SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers, const OutboxPlace& place,
                      Outbox* sameThread = nullptr);

// Whether the page is of one of the gates (bits of the gate numbers); one of an unknown gate is.
bool PageInGates(const OutboxPage& page, std::uint32_t gates);

// The pages due by nowMs, oldest first. A waiting page is never due later than its retry wait from now,
// even after the system clock was set back.
Result<std::vector<OutboxPage>> DuePages(Outbox& outbox, std::int64_t nowMs);

// Deletes the pages finished more than keepDays ago (fewer than 1 reads as 1); a page of unknown outcome
// stays until the operator decides about it.
Status PruneOutbox(Outbox& outbox, int keepDays, std::int64_t nowMs);

} // namespace zolbin
