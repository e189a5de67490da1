// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small list helpers shared by the directory window and the group dialog.

#include "platform/Codepage.h"

#include <QListWidget>
#include <string>
#include <vector>

namespace zolbin {

// The row the operator selected, or -1. A current row without a selection (a list that merely got the
// focus) is no selection.
inline int selectedRow(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? list->row(item) : -1;
}

// Empties the list and fills it with the names (cp1251), nothing selected.
inline void fillNames(QListWidget* list, const std::vector<std::string>& names)
{
    list->clear();
    for (const std::string& name : names)
        list->addItem(toQString(name));
    list->setCurrentRow(-1);
}

} // namespace zolbin
