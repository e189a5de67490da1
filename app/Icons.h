#pragma once
// The small pictures of the tool buttons and the menu items.

#include <QColor>
#include <QIcon>
#include <QString>

namespace zolbin {

// A square badge in the colour with a short label in white.
QIcon badgeIcon(const QString& label, const QColor& colour);

} // namespace zolbin
