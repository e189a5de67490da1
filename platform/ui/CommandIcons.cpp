// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/CommandIcons.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QString>
#include <QStringList>

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

QString ownPath(const QString& name)
{
    registerCommandIcons();
    return QStringLiteral(":/zolbin/actions/") + name + QStringLiteral(".svg");
}

// Names whose theme pictures would make two commands look alike (a theme draws both sorts as its
// "view-sort-ascending"): the program's own drawings always.
bool alwaysOwn(const QString& name)
{
    return name.startsWith(QLatin1String("view-sort-"));
}

// A theme's scalable folders (absolute) and the themes it inherits, read from its index.theme files once
// for each set of search paths.
struct ThemeIndex
{
    QStringList scalableDirs;
    QStringList inherits;
};

const ThemeIndex& themeIndex(const QString& theme)
{
    static QHash<QString, ThemeIndex> read;
    const QString key = QIcon::themeSearchPaths().join(QLatin1Char('\n')) + QLatin1Char('\n') + theme;
    if (const auto found = read.constFind(key); found != read.constEnd())
        return *found;
    ThemeIndex index;
    for (const QString& root : QIcon::themeSearchPaths()) {
        const QString base = root + QLatin1Char('/') + theme;
        if (!QFile::exists(base + QStringLiteral("/index.theme")))
            continue;
        QSettings file(base + QStringLiteral("/index.theme"), QSettings::IniFormat);
        const QStringList dirs = file.value(QStringLiteral("Icon Theme/Directories")).toStringList() +
                                 file.value(QStringLiteral("Icon Theme/ScaledDirectories")).toStringList();
        for (const QString& dir : dirs)
            if (file.value(dir + QStringLiteral("/Type"))
                    .toString()
                    .compare(QLatin1String("Scalable"), Qt::CaseInsensitive) == 0)
                index.scalableDirs << base + QLatin1Char('/') + dir + QLatin1Char('/');
        if (index.inherits.isEmpty())
            index.inherits = file.value(QStringLiteral("Icon Theme/Inherits")).toStringList();
    }
    return *read.insert(key, index);
}

// Whether the theme (or a theme it inherits, then "hicolor") has a scalable picture of exactly this
// name. Themes that carry only raster pictures of the old sizes (GNOME's Adwaita for most actions) blur
// at other sizes and scale factors: the program's own drawing is sharper there.
bool themeHasScalable(const QString& theme, const QString& name, QSet<QString>& seen)
{
    if (theme.isEmpty() || seen.contains(theme))
        return false;
    seen.insert(theme);
    const ThemeIndex& index = themeIndex(theme);
    for (const QString& dir : index.scalableDirs)
        if (QFile::exists(dir + name + QStringLiteral(".svg")))
            return true;
    for (const QString& parent : index.inherits)
        if (themeHasScalable(parent, name, seen))
            return true;
    return false;
}

bool themeHasScalable(const QString& name)
{
    QSet<QString> seen;
    return themeHasScalable(QIcon::themeName(), name, seen) ||
           themeHasScalable(QIcon::fallbackThemeName(), name, seen) ||
           themeHasScalable(QStringLiteral("hicolor"), name, seen);
}

} // namespace

QIcon commandIcon(const char* themeName)
{
    const QString name = QString::fromLatin1(themeName);
    const QString own = ownPath(name);
    // An icon made from a missing file is not null, but draws nothing.
    if (!QFile::exists(own))
        return QIcon::fromTheme(name);
    if (alwaysOwn(name) || !themeHasScalable(name))
        return QIcon(own);
    return QIcon::fromTheme(name, QIcon(own));
}

} // namespace zolbin
