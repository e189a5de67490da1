// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/CommandIcons.h"

#include <QFile>
#include <QString>

// Like the program's other pictures, the drawings are registered on first use. Q_INIT_RESOURCE must be
// used outside any namespace.
static void registerCommandIcons()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(actions);
        return true;
    }();
    (void)done;
}

namespace zolbin {

namespace {

QIcon ownCommandIcon(const QString& themeName)
{
    registerCommandIcons();
    const QString path = QStringLiteral(":/zolbin/actions/") + themeName + QStringLiteral(".svg");
    // An icon made from a missing file is not null, but draws nothing.
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace

QIcon commandIcon(const char* themeName)
{
    const QString name = QString::fromLatin1(themeName);
    return QIcon::fromTheme(name, ownCommandIcon(name));
}

} // namespace zolbin
