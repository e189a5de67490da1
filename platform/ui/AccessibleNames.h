// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names for screen readers. A control whose own text says what it is (a labelled button, a field with a
// label that is its buddy) is named by Qt from that text; the others get a name here: their hint where
// they have one (the tool buttons, whose pictures have no text), and a Russian name for the toolkit's own
// buttons (the notebook's scroll arrows, the "more" buttons of tool and menu bars).

class QWidget;

namespace zolbin {

// Names every control of the window (its children, not other windows) that has no Russian name yet.
void NameControlsForScreenReaders(QWidget* window);

} // namespace zolbin
