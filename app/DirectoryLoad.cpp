// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DirectoryLoad.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"

namespace zolbin {

template <typename List> Status DirectoryLoad::load(List& list, const char* fileName)
{
    const std::string path = folder_.path(fileName);
    if (!fileExists(path)) {
        list.NoteMissingFile(path); // one that appears later is not overwritten unseen
        return {};
    }
    const Status loaded = list.LoadFromFile(path);
    if (loaded || !IsDamagedListFile(loaded.failure()))
        return loaded;
    DamagedListFile damage{fileName, loaded.failure().text, {}, {}};
    if (const Result<std::string> copy = copyAside(path); copy)
        damage.copyName = baseNameOf(copy.value());
    else
        damage.copyError = copy.failure().text;
    damaged_.push_back(std::move(damage));
    return {};
}

Status DirectoryLoad::loadAbonents(TAbonentList& list)
{
    return load(list, AbonentFileName);
}

Status DirectoryLoad::loadGroups(TGroupList& list)
{
    return load(list, GroupFileName);
}

Status DirectoryLoad::loadProviders(TProviderList& list)
{
    if (fileExists(folder_.path(CompanyFileName))) {
        const Status loaded = load(list, CompanyFileName);
        if (list.empty())
            list.AddHomeProvider();
        return loaded;
    }
    list.AddHomeProvider();
    return list.Save(folder_);
}

std::string DirectoryLoad::damageReport() const
{
    std::string report;
    for (const DamagedListFile& d : damaged_) {
        if (!report.empty())
            report += "\n";
        report +=
            cp("Файл ") + d.fileName + cp(" повреждён (") + d.error + cp("). Прочитанные записи загружены, ");
        if (d.copyError.empty())
            report += cp("копия файла сохранена как ") + d.copyName;
        else
            report += cp("но сохранить копию файла не удалось (") + d.copyError + ")";
    }
    return report;
}

} // namespace zolbin
