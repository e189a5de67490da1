// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/LoopbackOrders.h"

#include "dispatch/Recipient.h"
#include "platform/Codepage.h"

namespace zolbin::bench {

namespace {

SendOrder withText(SendOrder order)
{
    order.lines = {PageText()};
    order.text = PageText();
    return order;
}

} // namespace

const std::string& PageText()
{
    static const std::string text = cp("Проверка связи: дежурному позвонить на пульт");
    return text;
}

LoopbackOrders::LoopbackOrders(std::uint16_t port, int members)
{
    auto company = std::make_shared<TProvider>(HomeProviderDefaults());
    company->Name = cp("Петля");
    company->Gate = Gate::SNPP;
    company->SNPPSrv = "127.0.0.1";
    company->SNPPPort = port;
    providers_.Add(company);
    auto group = std::make_shared<TGroup>();
    group->Name = cp("Дежурные");
    for (int i = 0; i < members; ++i) {
        auto member = std::make_shared<TAbonent>();
        member->Name = cp("Абонент ") + std::to_string(i);
        member->Number = 100000 + i;
        member->MsgLen = 240;
        member->Provider = company->Name.str();
        group->Members.Add(member);
    }
    groups_.Add(group);
}

SendOrder LoopbackOrders::subscriberOrder(const DataFolder& folder) const
{
    TSendParams params;
    ChooseSubscriber(params, *groups_.Items(0)->Members.Items(0));
    return withText(TakeOrder(folder, params, -1, TGroupList{}, providers_));
}

SendOrder LoopbackOrders::groupOrder(const DataFolder& folder) const
{
    TSendParams params;
    params.CurMaxLen = GroupMaxLen(*groups_.Items(0));
    return withText(TakeOrder(folder, params, 0, groups_, providers_));
}

} // namespace zolbin::bench
