// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/OutboxOrders.h"

#include "dispatch/OutboxLedger.h"
#include "records/OutboxLocks.h"

#include <algorithm>

namespace zolbin {

namespace {

OutboxLedger::Opener placeOutbox(OutboxPlace place, const DataFolder& folder)
{
    if (!place.shared())
        place.folder = folder;
    return [place] { return OpenOutbox(place); };
}

} // namespace

Result<int> EnqueueOrder(SendOrder& order, Outbox& outbox, PageHolder holder, int retryMinutes,
                         std::int64_t nowMs, std::uint32_t gates)
{
    const Result<std::optional<std::int64_t>> serverNow = outbox.ServerClockMs();
    if (!serverNow)
        return serverNow.failure();
    nowMs = serverNow.value().value_or(nowMs);
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
    // The batch and the recipient's place: the pages sort in the order they are served. Each keeps its
    // company as the order has it.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (const int company = order.providers.IndexOfName(pages[i].params.CurProvider); company >= 0) {
            pages[i].companyRecord = order.providers.Items(company)->encode();
            pages[i].gate = order.providers.Items(company)->Gate;
        }
        std::string place = std::to_string(i);
        place.insert(0, place.size() < 6 ? 6 - place.size() : 0, '0');
        pages[i].id = page.batch + "-" + place;
        if (!PageInGates(pages[i], gates))
            pages[i].nextAttemptMs = nowMs;
    }
    if (Status added = outbox.Add(pages); !added)
        return added.failure();
    std::vector<std::string> ids;
    std::vector<bool> others;
    ids.reserve(pages.size());
    order.othersPageIds.clear();
    for (const OutboxPage& added : pages) {
        ids.push_back(added.id);
        others.push_back(!PageInGates(added, gates));
        if (others.back())
            order.othersPageIds.push_back(added.id);
    }
    order.pageIds = ids;
    auto ledger =
        std::make_shared<OutboxLedger>(placeOutbox(order.outboxPlace, order.folder), std::move(ids), outbox);
    ledger->passOver(std::move(others));
    order.ledger = std::move(ledger);
    return static_cast<int>(pages.size());
}

SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers, const DataFolder& folder)
{
    OutboxPlace place;
    place.folder = folder;
    return OrderOfPage(page, providers, place);
}

SendOrder OrderOfPage(const OutboxPage& page, const TProviderList& providers, const OutboxPlace& place,
                      Outbox* sameThread)
{
    SendOrder order = TakeOrder(place.folder, page.params, -1, TGroupList{}, providers);
    order.outboxPlace = place;
    if (place.shared() && page.companyRecord.size() >= TProvider::RecordSize) {
        auto captured = std::make_shared<TProvider>(TProvider::decode(page.companyRecord));
        if (const int company = order.providers.IndexOfName(page.params.CurProvider); company >= 0)
            *order.providers.Items(company) = *captured;
        else
            order.providers.Add(std::move(captured));
    }
    order.lines = page.lines;
    order.text = page.text;
    order.signatureBlocked = page.signatureBlocked;
    order.pageIds = {page.id};
    auto ledger =
        sameThread != nullptr
            ? std::make_shared<OutboxLedger>(placeOutbox(place, place.folder), order.pageIds, *sameThread)
            : std::make_shared<OutboxLedger>(placeOutbox(place, place.folder), order.pageIds);
    if (page.state == PageState::Sending)
        ledger->setClaimed();
    order.ledger = std::move(ledger);
    return order;
}

bool PageInGates(const OutboxPage& page, std::uint32_t gates)
{
    return page.gate < 0 || page.gate >= 32 || (gates & (1u << page.gate)) != 0;
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
