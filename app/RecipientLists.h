// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's tick lists: one line per subscriber ("Name -- Number") and one per group (its name),
// each with an empty tick box, in list order.

class QListWidget;

namespace zolbin {

class TAbonentList;
class TGroupList;

// Empties the list control and fills it from the list, every line unticked.
void FillAbonentLines(QListWidget* list, const TAbonentList& abonents);
void FillGroupLines(QListWidget* list, const TGroupList& groups);

} // namespace zolbin
