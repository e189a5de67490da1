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

// The order's pages (one per recipient, in the order the send command serves them) made from the page
// given, each with its company's record and gate as the order has them, appended to `pages`.
void appendPages(const SendOrder& order, OutboxPage page, std::vector<OutboxPage>& pages)
{
    const std::size_t first = pages.size();
    if (order.curGroup == -1 || order.groups.empty()) {
        pages.push_back(page);
    } else {
        const TGroup& group = *order.groups.Items(order.curGroup);
        for (int i = 0; i < order.memberCount(); ++i) {
            const TAbonent& member = *group.Members.Items(i);
            page.params.CurName = member.Name.str();
            page.params.CurNumber = member.Number;
            page.params.CurDigital = member.Numeric;
            page.params.CurProvider = member.Provider.str();
            pages.push_back(page);
        }
    }
    for (std::size_t i = first; i < pages.size(); ++i)
        if (const int company = order.providers.IndexOfName(pages[i].params.CurProvider); company >= 0) {
            pages[i].companyRecord = order.providers.Items(company)->encode();
            pages[i].gate = order.providers.Items(company)->Gate;
        }
}

// The batch and the recipient's place: the pages sort in the order they are served. Adds them in one
// transaction and gives their ids.
Result<std::vector<std::string>> addPages(std::vector<OutboxPage>& pages, Outbox& outbox)
{
    std::size_t first = 0; // of the batch: each batch's pages come together
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && pages[i].batch != pages[i - 1].batch)
            first = i;
        std::string place = std::to_string(i - first);
        place.insert(0, place.size() < 6 ? 6 - place.size() : 0, '0');
        pages[i].id = pages[i].batch + "-" + place;
    }
    if (Status added = outbox.Add(pages); !added)
        return added.failure();
    std::vector<std::string> ids;
    ids.reserve(pages.size());
    for (const OutboxPage& added : pages)
        ids.push_back(added.id);
    return ids;
}

Result<std::int64_t> outboxNow(Outbox& outbox, std::int64_t nowMs)
{
    const Result<std::optional<std::int64_t>> serverNow = outbox.ServerClockMs();
    if (!serverNow)
        return serverNow.failure();
    return serverNow.value().value_or(nowMs);
}

std::int64_t deadlineOf(int retryMinutes, std::int64_t fromMs)
{
    return retryMinutes > 0 ? fromMs + std::int64_t{retryMinutes} * 60 * 1000 : 0;
}

} // namespace

Result<int> EnqueueOrder(SendOrder& order, Outbox& outbox, PageHolder holder, int retryMinutes,
                         std::int64_t nowMs, std::uint32_t gates)
{
    const Result<std::int64_t> now = outboxNow(outbox, nowMs);
    if (!now)
        return now.failure();
    OutboxPage page =
        NewOutboxPage(order.params, order.lines, order.text, order.signatureBlocked, now.value());
    if (holder == PageHolder::Sender)
        page.nextAttemptMs = now.value() + SenderHoldMs;
    page.deadlineMs = deadlineOf(retryMinutes, now.value());
    std::vector<OutboxPage> pages;
    appendPages(order, page, pages);
    // A page of another machine's gate is due at once for the workers that send it.
    for (OutboxPage& p : pages)
        if (!PageInGates(p, gates))
            p.nextAttemptMs = now.value();
    Result<std::vector<std::string>> ids = addPages(pages, outbox);
    if (!ids)
        return ids.failure();
    std::vector<bool> others;
    order.othersPageIds.clear();
    for (const OutboxPage& added : pages) {
        others.push_back(!PageInGates(added, gates));
        if (others.back())
            order.othersPageIds.push_back(added.id);
    }
    order.pageIds = ids.value();
    auto ledger = std::make_shared<OutboxLedger>(placeOutbox(order.outboxPlace, order.folder),
                                                 std::move(ids.value()), outbox);
    ledger->passOver(std::move(others));
    order.ledger = std::move(ledger);
    return static_cast<int>(pages.size());
}

Result<std::vector<std::string>> EnqueueTakenIn(const std::vector<SendOrder>& orders, Outbox& outbox,
                                                const TakenIn& takenIn, int retryMinutes, std::int64_t nowMs)
{
    Result<std::vector<std::vector<std::string>>> ids =
        EnqueueTakenIn(std::vector<TakenInPage>{{orders, takenIn}}, outbox, retryMinutes, nowMs);
    if (!ids)
        return ids.failure();
    return std::move(ids.value().front());
}

Result<std::vector<std::vector<std::string>>>
EnqueueTakenIn(const std::vector<TakenInPage>& taken, Outbox& outbox, int retryMinutes, std::int64_t nowMs)
{
    const Result<std::int64_t> now = outboxNow(outbox, nowMs);
    if (!now)
        return now.failure();
    std::vector<OutboxPage> pages;
    std::vector<std::size_t> ends; // where each one's pages end
    for (const TakenInPage& one : taken) {
        const std::string batch = NewOutboxPage({}, {}, {}, false, 0).batch;
        const std::int64_t dueMs = one.takenIn.heldUntilMs && *one.takenIn.heldUntilMs > now.value()
                                       ? *one.takenIn.heldUntilMs
                                       : now.value();
        for (const SendOrder& order : one.orders) {
            OutboxPage page =
                NewOutboxPage(order.params, order.lines, order.text, order.signatureBlocked, now.value());
            page.batch = batch;
            page.intakeKey = one.takenIn.key;
            page.nextAttemptMs = dueMs;
            page.deadlineMs = deadlineOf(retryMinutes, dueMs);
            appendPages(order, std::move(page), pages);
        }
        ends.push_back(pages.size());
    }
    const Result<std::vector<std::string>> added = addPages(pages, outbox);
    if (!added)
        return added.failure();
    std::vector<std::vector<std::string>> ids;
    std::size_t from = 0;
    for (const std::size_t end : ends) {
        ids.emplace_back(added.value().begin() + static_cast<std::ptrdiff_t>(from),
                         added.value().begin() + static_cast<std::ptrdiff_t>(end));
        from = end;
    }
    return ids;
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
