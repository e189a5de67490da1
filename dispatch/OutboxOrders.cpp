// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/OutboxOrders.h"

#include "dispatch/OutboxLedger.h"
#include "records/OutboxLocks.h"

#include <algorithm>

namespace zolbin {

namespace {

OutboxLedger::Opener folderOutbox(const DataFolder& folder)
{
    return [folder] { return OpenFolderOutbox(folder); };
}

} // namespace

Result<int> EnqueueOrder(SendOrder& order, Outbox& outbox, PageHolder holder, int retryMinutes,
                         std::int64_t nowMs)
{
    OutboxPage page = NewOutboxPage(order.params, order.lines, order.text, order.signatureBlocked, nowMs);
    if (holder == PageHolder::Sender)
        page.nextAttemptMs = nowMs + SenderHoldMs;
    page.deadlineMs = retryMinutes > 0 ? nowMs + std::int64_t{retryMinutes} * 60 * 1000 : 0;

    std::vector<OutboxPage> pages;
    const int members = order.memberCount();
    if (order.curGroup == -1 || order.groups.empty()) {
        pages.push_back(page);
    } else {
        const TGroup& group = *order.groups.Items(order.curGroup);
        pages.reserve(static_cast<std::size_t>(members));
        for (int i = 0; i < members; ++i) {
            const TAbonent& member = *group.Members.Items(i);
            page.params.CurName = member.Name.str();
            page.params.CurNumber = member.Number;
            page.params.CurDigital = member.Numeric;
            page.params.CurProvider = member.Provider.str();
            pages.push_back(page);
        }
    }
    // The batch and the recipient's place: the pages sort in the order they are served.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::string place = std::to_string(i);
        place.insert(0, place.size() < 6 ? 6 - place.size() : 0, '0');
        pages[i].id = page.batch + "-" + place;
    }
    if (Status added = outbox.Add(pages); !added)
        return added.failure();
    std::vector<std::string> ids;
    ids.reserve(pages.size());
    for (const OutboxPage& added : pages)
        ids.push_back(added.id);
    order.pageIds = ids;
    order.ledger = std::make_shared<OutboxLedger>(folderOutbox(order.folder), std::move(ids), outbox);
    return static_cast<int>(pages.size());
}

SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers, const DataFolder& folder)
{
    SendOrder order = TakeOrder(folder, page.params, -1, TGroupList{}, providers);
    order.lines = page.lines;
    order.text = page.text;
    order.signatureBlocked = page.signatureBlocked;
    order.pageIds = {page.id};
    order.ledger = std::make_shared<OutboxLedger>(folderOutbox(folder), order.pageIds);
    return order;
}

Result<std::vector<OutboxPage>> DuePages(Outbox& outbox, std::int64_t nowMs)
{
    // The waits as they grow, up to the one that stays.
    std::vector<std::int64_t> waits{RetryIntervalMs(1)};
    for (int failed = 2; RetryIntervalMs(failed) != waits.back(); ++failed)
        waits.push_back(RetryIntervalMs(failed));
    if (Status limited = outbox.LimitWaits(nowMs, waits); !limited)
        return limited.failure();
    return outbox.Due(nowMs);
}

Status PruneOutbox(Outbox& outbox, int keepDays, std::int64_t nowMs)
{
    constexpr std::int64_t DayMs = 24LL * 60 * 60 * 1000;
    return outbox.Prune(nowMs - std::max(1, keepDays) * DayMs);
}

} // namespace zolbin
