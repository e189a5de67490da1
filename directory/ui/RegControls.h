#pragma once
// Small control helpers shared by the directory window and its properties dialogs.

#include "platform/Codepage.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
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

// The name field of a properties dialog: editable on the window colour (a new entry), or read-only on
// the button-face colour (the name of an existing entry cannot change).
inline void setNameReadOnly(QLineEdit* edit, bool readOnly)
{
    edit->setReadOnly(readOnly);
    QPalette palette = edit->palette();
    const QPalette standard = QApplication::palette(edit);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base,
                         readOnly ? standard.color(group, QPalette::Button)
                                  : standard.color(group, QPalette::Base));
    edit->setPalette(palette);
}

} // namespace zolbin
