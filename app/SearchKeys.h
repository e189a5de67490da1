// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys of the incremental search in the main window. A search key is named by its position on the
// keyboard, written as the character a US keyboard prints on it: 'a' to 'z', '0' to '9' (main keyboard)
// or one of ; , . [ ] ' — whatever layout produced the key, so the key marked B counts as 'b' also when
// the desktop's layout types "и" with it. The active layout decides only which character is appended.

#include "platform/ui/KeyPositions.h"

#include <QtGlobal>
#include <string>

class QKeyEvent;

namespace zolbin {

// The position of a key pressed with Ctrl held down; 0 for every other key (Ctrl not held, the numeric
// keypad, Ctrl itself, keys that are no search position).
char SearchKeyOf(const QKeyEvent& key);

// The character a position appends to the search text under the layout ("00000409" = US English), in
// cp1251; empty for a punctuation key under the US layout.
std::string SearchCharacter(char position, const std::string& layoutId);

} // namespace zolbin
