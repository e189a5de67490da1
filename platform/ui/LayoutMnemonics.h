// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Alt with a letter in either keyboard layout. Qt matches a mnemonic ("От&мена": Alt+М) or an Alt
// shortcut by the character the key types, so with the other layout active the same key types another
// letter and nothing happens. A window hands such a key, which no mnemonic took, to RunMnemonicByPosition:
// the mnemonic or Alt shortcut on the same key of the keyboard then runs as Qt would run it.

#include <QChar>
#include <QString>

class QKeyEvent;
class QWidget;

namespace zolbin {

// The letter a caption marks with "&" ("&&" is a plain "&"), in lower case; a null QChar when none.
QChar MnemonicLetter(const QString& caption);

// Runs the window's mnemonic, or the enabled action whose shortcut is Alt with a key, on the same key of
// the keyboard as the Alt+key pressed; true when one ran (the key is used then).
bool RunMnemonicByPosition(QWidget* window, const QKeyEvent& key);

} // namespace zolbin
