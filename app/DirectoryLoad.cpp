// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DirectoryLoad.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"

#include <QCoreApplication>

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
    DamagedListFile damage{fileName, loaded.failure().russian(), {}, {}};
    if (const Result<std::string> copy = copyAside(path); copy)
        damage.copyName = baseNameOf(copy.value());
    else
        damage.copyError = copy.failure().russian();
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

QString DirectoryLoad::damageReport() const
{
    QString report;
    for (const DamagedListFile& d : damaged_) {
        if (!report.isEmpty())
            report += QLatin1Char('\n');
        report += QCoreApplication::translate("DirectoryLoad",
                                              "Файл %1 повреждён (%2). Прочитанные записи загружены, ")
                      .arg(toQString(d.fileName), toQString(d.error));
        if (d.copyError.empty())
            report += QCoreApplication::translate("DirectoryLoad", "копия файла сохранена как %1")
                          .arg(toQString(d.copyName));
        else
            report += QCoreApplication::translate("DirectoryLoad", "но сохранить копию файла не удалось (%1)")
                          .arg(toQString(d.copyError));
    }
    return report;
}

} // namespace zolbin
