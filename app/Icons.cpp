#include "app/Icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace zolbin {

namespace {

QPixmap drawBadge(int size, const QString& label, const QColor& colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(140));
    p.setBrush(colour);
    const qreal inset = size / 16.0;
    p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size / 5.0, size / 5.0);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(label.size() > 1 ? size * 9 / 20 : size * 13 / 20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, label);
    return pixmap;
}

} // namespace

QIcon badgeIcon(const QString& label, const QColor& colour)
{
    QIcon icon;
    icon.addPixmap(drawBadge(16, label, colour));
    icon.addPixmap(drawBadge(32, label, colour));
    return icon;
}

} // namespace zolbin
