// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send command's test set-up: a recording host in a temporary data folder, a fixed clock, companies
// on loopback servers, subscribers and groups, and scripted sessions that accept everything.

#include "directory/Records.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "dispatch/SendCommand.h"
#include "dispatch/SendJob.h"
#include "records/OutboxLocks.h"
#include "tests/support/Companies.h"
#include "tests/support/FixedClock.h"
#include "tests/unit/dispatch/NetTestSupport.h"

namespace zolbin::test {

inline ScriptedSession snppOk(int steps = 4)
{
    ScriptedSession s{{"220 SNPP\r\n"}, {}};
    for (int i = 0; i < steps; ++i)
        s.replies.push_back(Reply("250 OK\r\n"));
    return s;
}

inline ScriptedSession relayOk()
{
    return {{"220 relay\r\n"},
            {Reply("250 a\r\n"), Reply("250 b\r\n"), Reply("250 c\r\n"), DataReply("354 go\r\n"),
             Reply("250 q\r\n"), Reply("221 bye\r\n")}};
}

class SendCommandTest : public NetTest
{
protected:
    void SetUp() override
    {
        NetTest::SetUp();
        host.lines = {"Hello"};
        host.settings.SMTPServer = "127.0.0.1";
        host.settings.EMail = "op@example.org";
    }

    void addCompany(const std::string& name, std::uint8_t gate, std::uint16_t port)
    {
        providers.Add(std::make_shared<TProvider>(LoopbackCompany(name, gate, port)));
    }

    AbonentPtr member(const std::string& name, int number, const std::string& company)
    {
        return SubscriberOf(company, name, number);
    }

    void chooseSubscriber(const std::string& name, int number, const std::string& company)
    {
        params.CurName = name;
        params.CurNumber = number;
        params.CurProvider = company;
    }

    void addGroup(std::vector<AbonentPtr> members)
    {
        auto g = std::make_shared<TGroup>();
        g->Name = "Team";
        for (auto& m : members)
            g->Members.Add(m);
        groups.Add(g);
        group = static_cast<std::int16_t>(groups.Count() - 1);
    }

    SendOutcome send()
    {
        SendCommand command(host, params, group, groups, providers);
        command.SetModemMemory(modems.get());
        const SendOutcome outcome = command.Run();
        fileErrorSeen = command.FileErrorSeen();
        return outcome;
    }

    // The recipient as a send order with the host's message.
    SendOrder order()
    {
        SendOrder taken = TakeOrder(dir.folder(), params, group, groups, providers);
        taken.lines = host.lines;
        taken.text = host.EditorText();
        taken.modems = modems;
        return taken;
    }

    // Sends the recipient's pages through the data folder's outbox, then each page again as the clock
    // reaches its retry, until none waits; gives the pages as they ended.
    std::vector<OutboxPage> sendThroughOutbox(int retryMinutes)
    {
        Result<std::unique_ptr<Outbox>> opened = OpenFolderOutbox(dir.folder());
        if (!opened)
            return {};
        Outbox& outbox = *opened.value();
        SendOrder first = order();
        if (!EnqueueOrder(first, outbox, PageHolder::Sender, retryMinutes, NowMs()))
            return {};
        const std::vector<std::string> ids = first.pageIds;
        SendJob(std::move(first)).runWith(host);
        for (int round = 0; round < 10; ++round) {
            const Result<std::optional<std::int64_t>> next = outbox.NextDue();
            if (!next || !next.value() || *next.value() > NowMs() + SenderHoldMs / 2)
                break;
            clock.setNow(QDateTime::fromMSecsSinceEpoch(*next.value()));
            const std::vector<OutboxPage> due = outbox.Due(NowMs()).value();
            for (const OutboxPage& page : due) {
                SendOrder retry = OrderOfPage(page, providers, dir.folder());
                retry.modems = modems;
                SendJob(std::move(retry)).runWith(host);
            }
        }
        std::vector<OutboxPage> pages;
        for (const std::string& id : ids)
            pages.push_back(outbox.Page(id).value().value_or(OutboxPage{}));
        return pages;
    }

    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 30))};
    TSendParams params;
    std::int16_t group = -1;
    TGroupList groups;
    TProviderList providers;
    bool fileErrorSeen = false;
    // What the test's run remembers of the modems, from one send to the next.
    std::shared_ptr<ModemMemory> modems = std::make_shared<ModemMemory>();
};

} // namespace zolbin::test
