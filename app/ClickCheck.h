// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells which line of a check list the operator ticked or unticked, by mouse or by keyboard. Ticks set
// by the program pass unseen, so a handler can untick other lines without calling itself again.

#include <QStyledItemDelegate>
#include <functional>

class QAbstractItemView;

namespace zolbin {

// Installs the watcher on the list; the handler receives the toggled line.
void onClickCheck(QAbstractItemView* list, std::function<void(int)> handler);

} // namespace zolbin
