// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's name and version as the about box and the splash window draw it: "Zolbin Sender  2.0.1"
// in a narrow bold face, the first three letters large, the rest smaller in bold italic.

#include <QColor>
#include <QString>

class QWidget;

namespace zolbin {

// The line's two parts: "Zol" and "bin Sender  2.0.1".
QString nameLineHead();
QString nameLineTail();

// Two labels side by side on a common base line, in the given colours.
QWidget* makeNameLine(const QColor& headColour, const QColor& tailColour, QWidget* parent);

} // namespace zolbin
