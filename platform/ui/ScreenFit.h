// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows that fit the screen they are on: a window never reaches past the screen's available area (the
// desktop's panels left out), whatever the screen's size and scale, so that its buttons stay in reach.

#include <QRect>
#include <QSize>

class QBoxLayout;
class QScrollArea;
class QWidget;

namespace zolbin {

// The available area of the screen the window is on (the primary screen while it is on none), in the
// window's own units; empty without a screen.
QRect AvailableArea(const QWidget* window);

// The size the window may take there: the available area less the window's frame, as far as the frame is
// known yet.
QSize RoomOnScreen(const QWidget* window);

// Caps a resizable window to the room on its screen: its size, and its minimum size where the layout asks
// for more (the contents then get less than they ask), and moves it back inside the area. True when the
// window had to be made smaller.
bool CapToScreen(QWidget* window);

// Moves everything of the box layout but its rows of buttons into a scroll area put where the first of
// them was; the rows of buttons stay where they are, always in reach. The scrolled part keeps the size
// its contents ask for. Returns the scroll area (nullptr when there is nothing to move).
QScrollArea* ScrollAllButButtons(QBoxLayout* layout);

} // namespace zolbin
