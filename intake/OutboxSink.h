// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sink of pages taken in: each page is checked as zolbin-send --queue checks it (the recipient, his
// company and the settings its gate needs, the message limit, the digital pager's characters), written
// into the outbox the settings name (the data folder's or the room's) in one transaction, and told in the
// journal in one line ("Принято по SNPP от 10.0.0.5 (user): абонент «Иванов»") before the lines of its
// send. From there the outbox's worker sends it as any page. A request given again with the same key
// within a day is answered with the pages it made then, and nothing is queued again. No recipient is
// given more than the limit of pages per minute.
//
// Lives on the thread of the session it reads (the session's lists and settings are read at each page, as
// they are at that moment) and opens the outbox for that thread when first needed.

#include "dispatch/OutboxOrders.h"
#include "intake/PageSink.h"
#include "records/Outbox.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace zolbin {

struct Session;

// How many pages each recipient was given in the last minute: a recipient that had `limit` already is
// refused (0: no limit).
class PageRate
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    explicit PageRate(int limit, Clock clock = std::chrono::steady_clock::now);
    // Whether another page may go to the recipient now, beside `more` pages not yet counted.
    bool allows(const std::string& recipient, int more = 0);
    // A page went to the recipient now.
    void count(const std::string& recipient);
    int limit() const { return limit_; }

private:
    int limit_;
    Clock clock_;
    std::map<std::string, std::deque<std::chrono::steady_clock::time_point>> sent_;
};

class OutboxSink final : public PageSink
{
public:
    // The session (which outlives the sink): its folder, lists, settings and journal.
    OutboxSink(Session& session, int maxPagesPerMinute);
    ~OutboxSink() override;

    SinkAnswer store(const IncomingPage& page) override;
    // The pages that pass their checks are written in one transaction: all of them, or none (each then
    // answered "try later"); a page refused is told in the journal and leaves the others as they are.
    std::vector<SinkAnswer> storeAll(const std::vector<IncomingPage>& pages) override;

    // A page of the outbox by its id, as `--list outbox` reads it: nothing when there is none, a failure
    // when the outbox cannot be read.
    Result<std::optional<OutboxPage>> page(const std::string& id);
    // Whether the outbox can be opened and read now.
    bool reachable();

    // The journal's line for a page taken in, cp1251: how it came, from where, to whom.
    static std::string JournalLine(const IncomingPage& page);

private:
    Result<Outbox*> outbox();
    // The page's orders and key (in `taken`), or its answer when it is refused or stored already.
    std::optional<SinkAnswer> check(const IncomingPage& page, Outbox& box, TakenInPage& taken);
    SinkAnswer later(const Failure& failure) const;
    SinkAnswer refuse(const IncomingPage& page, const Text& reason, bool limited = false);

    Session& session_;
    PageRate rate_;
    std::unique_ptr<Outbox> outbox_;
};

} // namespace zolbin
