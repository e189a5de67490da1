// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys named by their place on the keyboard, written as the character a US keyboard prints on it: 'a' to
// 'z', '0' to '9' (main keyboard) or one of ; , . [ ] ' — whatever layout produced the key, so the key
// marked B counts as 'b' also when the desktop's layout types "и" with it.

#include <QChar>
#include <QtGlobal>

class QKeyEvent;

namespace zolbin {

// The position of a key from what the platform reports: an xkb keycode (X11 and Wayland; 0 when not
// known) decides where there is one, else the Qt key code, Latin or Cyrillic. 0 = none of those keys.
char KeyPosition(int qtKey, quint32 xkbKeycode);

// The position of the key of the event (its xkb keycode where the platform gives one).
char KeyPositionOf(const QKeyEvent& key);

// The position of the key that types the letter or digit in a US or a Russian layout; 0 for another.
char LetterPosition(QChar letter);

// The Russian layout's letter on the position, in cp1251; 0 for a digit or no position.
char CyrillicOnPosition(char position);

} // namespace zolbin
