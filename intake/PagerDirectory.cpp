// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PagerDirectory.h"

#include "dispatch/Recipient.h"
#include "platform/Convert.h"

#include <algorithm>

namespace zolbin {

namespace {

PagerTarget subscriberTarget(const TAbonent& abonent)
{
    return {PagerTarget::Kind::Subscriber, abonent.Name.str(), abonent.MsgLen, abonent.Numeric == 1, {}};
}

} // namespace

ListPagerDirectory::ListPagerDirectory(const TAbonentList& subscribers, const TGroupList& groups)
    : subscribers_(subscribers), groups_(groups)
{
}

std::optional<PagerTarget> ListPagerDirectory::find(const std::string& id) const
{
    if (std::int32_t number = 0; TryStrToInt(id, number) && number != 0) {
        const auto it = std::find_if(subscribers_.begin(), subscribers_.end(),
                                     [number](const AbonentPtr& a) { return a->Number == number; });
        if (it != subscribers_.end())
            return subscriberTarget(**it);
    }
    if (const int index = subscribers_.IndexOfNameAnyCase(id); index >= 0)
        return subscriberTarget(*subscribers_.Items(index));
    return findGroup(id);
}

std::optional<PagerTarget> ListPagerDirectory::findGroup(const std::string& name) const
{
    const int index = groups_.IndexOfNameAnyCase(name);
    if (index < 0)
        return std::nullopt;
    const TGroup& group = *groups_.Items(index);
    if (group.Members.empty())
        return std::nullopt; // nobody to page
    const bool digital = std::any_of(group.Members.begin(), group.Members.end(),
                                     [](const AbonentPtr& member) { return member->Numeric == 1; });
    return PagerTarget{PagerTarget::Kind::Group, group.Name.str(), GroupMaxLen(group), digital, {}};
}

} // namespace zolbin
