// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Recipient.h"

#include <algorithm>

namespace zolbin {

bool ServiceAvailableFor(const std::string& providerName, const TProviderList& providers)
{
    if (providerName == HomeProviderName())
        return true;
    const int index = providers.IndexOfName(providerName);
    if (index < 0)
        return false;
    const std::uint8_t gate = providers.Items(index)->Gate;
    return gate == Gate::SNPP || gate == Gate::WCTP;
}

bool ServiceAvailableForGroup(const TGroup& group, const TProviderList& providers)
{
    bool available = true;
    for (const AbonentPtr& member : group.Members) {
        const std::string provider = member->Provider.str();
        if (provider != HomeProviderName())
            available = ServiceAvailableFor(provider, providers);
    }
    return available;
}

std::int32_t GroupMaxLen(const TGroup& group)
{
    if (group.Members.empty())
        return 0;
    std::int32_t shortest = group.Members.Items(0)->MsgLen;
    for (const AbonentPtr& member : group.Members)
        shortest = std::min(shortest, member->MsgLen);
    return shortest;
}

void ChooseSubscriber(TSendParams& params, const TAbonent& abonent)
{
    params.CurName = abonent.Name.str();
    params.CurNumber = abonent.Number;
    params.CurDigital = abonent.Numeric;
    params.CurMaxLen = abonent.MsgLen;
    params.CurProvider = abonent.Provider.str();
    params.DeferDate.clear();
    params.RepeatCount = 0;
}

void ClearRecipient(TSendParams& params)
{
    params.CurName.clear();
    params.CurNumber = 0;
    params.DeferDate.clear();
    params.RepeatCount = 0;
}

} // namespace zolbin
