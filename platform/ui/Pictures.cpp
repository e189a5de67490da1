// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/Pictures.h"

#include <QString>

// The resources live in this static library; they are registered on first use, so no executable has
// to remember to do it. Q_INIT_RESOURCE must be used outside any namespace.
static void registerPictures()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

namespace zolbin {

QIcon programIcon()
{
    registerPictures();
    QIcon icon;
    icon.addFile(QStringLiteral(":/zolbin/zolbin-32.png"));
    icon.addFile(QStringLiteral(":/zolbin/zolbin.png"));
    return icon;
}

QPixmap emblemPicture()
{
    registerPictures();
    return QPixmap(QStringLiteral(":/zolbin/zolbin.png"));
}

QPixmap splashPicture()
{
    registerPictures();
    return QPixmap(QStringLiteral(":/zolbin/splash.png"));
}

} // namespace zolbin
