// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/ScreenFit.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zolbin {

namespace {

// A row (or column) of push buttons and the space between them, and nothing else.
bool isButtonRow(QLayoutItem* item)
{
    const QLayout* row = item->layout();
    if (row == nullptr)
        return qobject_cast<QPushButton*>(item->widget()) != nullptr;
    bool buttons = false;
    for (int i = 0; i < row->count(); ++i) {
        QLayoutItem* part = row->itemAt(i);
        if (part->spacerItem() != nullptr)
            continue;
        if (qobject_cast<QPushButton*>(part->widget()) == nullptr)
            return false;
        buttons = true;
    }
    return buttons;
}

// Moves the item, with its stretch and alignment, to the end of the other layout.
void moveItem(QLayoutItem* item, int stretch, QBoxLayout* to)
{
    if (QWidget* widget = item->widget()) {
        to->addWidget(widget, stretch, item->alignment());
        delete item;
    } else if (QLayout* inner = item->layout()) {
        to->addLayout(inner, stretch);
    } else {
        to->addItem(item);
        to->setStretch(to->count() - 1, stretch);
    }
}

} // namespace

QRect AvailableArea(const QWidget* window)
{
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QSize RoomOnScreen(const QWidget* window)
{
    const QSize area = AvailableArea(window).size();
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    // Before the window manager framed the window its frame is not known: a title bar is reckoned with.
    if (frame.isNull() && !window->windowFlags().testFlag(Qt::FramelessWindowHint) &&
        QGuiApplication::platformName() != QLatin1String("offscreen"))
        frame = QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return (area - frame).expandedTo(QSize(0, 0));
}

bool CapToScreen(QWidget* window)
{
    const QSize room = RoomOnScreen(window);
    if (room.isEmpty())
        return false;
    bool capped = false;
    const QSize least = window->minimumSize();
    if (least.width() > room.width() || least.height() > room.height()) {
        window->setMinimumSize(least.boundedTo(room));
        capped = true;
    }
    if (window->width() > room.width() || window->height() > room.height()) {
        window->resize(window->size().boundedTo(room));
        capped = true;
    }
    const QRect area = AvailableArea(window);
    const QRect frame = window->frameGeometry();
    const int x = std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.x() || y != frame.y())
        window->move(window->pos() + QPoint(x - frame.x(), y - frame.y()));
    return capped;
}

QScrollArea* ScrollAllButButtons(QBoxLayout* layout)
{
    auto* bodyLayout = new QBoxLayout(layout->direction());
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(layout->spacing());
    int at = -1;
    for (int i = 0; i < layout->count();) {
        if (isButtonRow(layout->itemAt(i))) {
            ++i;
            continue;
        }
        if (at < 0)
            at = i;
        const int stretch = layout->stretch(i);
        moveItem(layout->takeAt(i), stretch, bodyLayout);
    }
    if (at < 0) {
        delete bodyLayout;
        return nullptr;
    }
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("ScrolledBody"));
    body->setLayout(bodyLayout); // the widgets of the moved items become the body's
    body->setMinimumSize(body->sizeHint());
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("ScrollBody"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(body);
    layout->insertWidget(at, scroller, 1);
    return scroller;
}

} // namespace zolbin
