// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecipientLists.h"

#include "directory/Lists.h"
#include "platform/Codepage.h"

#include <QListWidget>

namespace zolbin {

namespace {

void fillCheckList(QListWidget* list, const std::vector<std::string>& lines)
{
    list->clear();
    for (const std::string& line : lines) {
        auto* item = new QListWidgetItem(toQString(line), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

} // namespace

void FillAbonentLines(QListWidget* list, const TAbonentList& abonents)
{
    fillCheckList(list, abonents.DisplayLines());
}

void FillGroupLines(QListWidget* list, const TGroupList& groups)
{
    fillCheckList(list, groups.Names());
}

} // namespace zolbin
