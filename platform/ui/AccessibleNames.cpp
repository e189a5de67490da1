// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

namespace zolbin {

namespace {

bool russian(const QString& name)
{
    return std::any_of(name.begin(), name.end(),
                       [](QChar c) { return c.unicode() >= 0x400 && c.unicode() < 0x500; });
}

// The toolkit's own buttons, by the object names Qt gives them.
QString toolkitButtonName(const QString& objectName)
{
    if (objectName == QLatin1String("ScrollLeftButton"))
        return QCoreApplication::translate("AccessibleNames", "Предыдущие вкладки");
    if (objectName == QLatin1String("ScrollRightButton"))
        return QCoreApplication::translate("AccessibleNames", "Следующие вкладки");
    if (objectName == QLatin1String("qt_toolbar_ext_button") ||
        objectName == QLatin1String("qt_menubar_ext_button"))
        return QCoreApplication::translate("AccessibleNames", "Остальные команды");
    return {};
}

} // namespace

void NameControlsForScreenReaders(QWidget* window)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() != window || russian(button->accessibleName()))
            continue;
        if (const QString own = toolkitButtonName(button->objectName()); !own.isEmpty())
            button->setAccessibleName(own);
        else if (!button->toolTip().isEmpty())
            button->setAccessibleName(button->toolTip());
        else if (qobject_cast<QToolButton*>(button) != nullptr && button->text().isEmpty())
            button->setAccessibleName(QCoreApplication::translate(
                "AccessibleNames", "Кнопка")); // never met: every tool button has a hint
    }
}

} // namespace zolbin
