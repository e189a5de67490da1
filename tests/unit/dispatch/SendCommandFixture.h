// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send command's test set-up: a recording host in a temporary data folder, a fixed clock, companies
// on loopback servers, subscribers and groups, and scripted sessions that accept everything.

#include "directory/Records.h"
#include "dispatch/SendCommand.h"
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
        net::Winsock::Cleanup(); // the command starts the socket layer itself
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
        const SendOutcome outcome = command.Run();
        fileErrorSeen = command.FileErrorSeen();
        return outcome;
    }

    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 30))};
    TSendParams params;
    std::int16_t group = -1;
    TGroupList groups;
    TProviderList providers;
    bool fileErrorSeen = false;
};

} // namespace zolbin::test
