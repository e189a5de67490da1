// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Cascades.h"

#include "directory/Settings.h"
#include "platform/ProfileFile.h"

namespace zolbin {

namespace {

void notify(const AfterRemoval& afterRemoval)
{
    if (afterRemoval)
        afterRemoval();
}

} // namespace

Result<std::string> RemoveAbonent(const DataFolder& folder, TAbonentList& abonents, TGroupList& groups,
                                  int index, const AfterRemoval& afterRemoval)
{
    const std::string name = abonents.Items(index)->Name.str();
    for (const GroupPtr& group : groups.GroupsOfAbonent(name))
        group->Members.Delete(group->Members.IndexOfName(name));
    abonents.Delete(index);
    notify(afterRemoval);
    if (const Status saved = abonents.Save(folder); !saved)
        return saved.failure();
    if (const Status saved = groups.Save(folder); !saved)
        return saved.failure();
    return name;
}

Status RemoveGroup(const DataFolder& folder, TGroupList& groups, int index, const AfterRemoval& afterRemoval)
{
    // The members are shared with the subscriber list: dropping the group drops only its references.
    groups.Delete(index);
    notify(afterRemoval);
    return groups.Save(folder);
}

Text HomeProviderRefusal()
{
    return tx("Cascades", "Нельзя удалить родную пейдж. компанию");
}

Result<ProviderRemoval> RemoveProvider(const DataFolder& folder, TProviderList& providers,
                                       TAbonentList& abonents, int index, TSettings& settings,
                                       ProfileFile& settingsFile, const Confirm& confirm,
                                       const AfterRemoval& afterRemoval)
{
    if (index == 0)
        return ProviderRemoval::Refused;
    const TAbonentList users = abonents.AbonentsOfProvider(providers.Items(index)->Name.str());
    if (!users.empty()) {
        if (!confirm(tx("Cascades", "Подтверждение"),
                     tx("Cascades", "Есть абоненты, работающие через данную пейдж. компанию. Удалять?")))
            return ProviderRemoval::Kept;
        for (const AbonentPtr& abonent : users)
            abonent->Provider = std::string_view(); // all 80 bytes zero
    }
    providers.Delete(index);
    notify(afterRemoval);
    if (const Status saved = providers.Save(folder); !saved)
        return saved.failure();
    if (!users.empty()) {
        if (const Status saved = abonents.Save(folder); !saved)
            return saved.failure();
    }
    settings.Company = HomeProviderName();
    if (const Status written = settingsFile.writeString(SectionSetting, "Company", settings.Company);
        !written)
        return written.failure();
    return ProviderRemoval::Removed;
}

} // namespace zolbin
