// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between a send order and the outbox: the order's pages (one per recipient, in the order the send
// command serves them) written before anything is sent, and a page that falls due made into an order of
// its own.

#include "dispatch/SendJob.h"
#include "records/Outbox.h"

namespace zolbin {

enum class PageHolder
{
    Sender, // the sender that adds the pages sends them itself now (held from the workers meanwhile)
    Worker  // the pages are due at once for whoever works the outbox
};

// Writes the order's pages into the outbox in one transaction and gives the order the ledger of them:
// a send run on this thread records in this outbox (which must outlive it), one on another thread opens
// the folder's outbox for itself. With retryMinutes above 0 a page that fails
// for a passing reason is tried again until that many minutes from now. Gives how many pages.
Result<int> EnqueueOrder(SendOrder& order, Outbox& outbox, PageHolder holder, int retryMinutes,
                         std::int64_t nowMs);

// The order that sends a page that fell due, alone, through the companies as they are now. The caller
// fills the settings, the journal and the secrets.
SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers);

} // namespace zolbin
