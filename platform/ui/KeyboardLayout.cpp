// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/KeyboardLayout.h"

#include "platform/ui/KeyboardSource.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

namespace zolbin {

namespace {

struct LayoutState
{
    std::string recorded = KeyboardLayout::English;
    bool ignorePlatform = false;
};

LayoutState& state()
{
    static LayoutState s;
    return s;
}

// The platform's word on the active layout, or empty when it has none that we know.
std::string platformLayout()
{
    if (qGuiApp == nullptr)
        return {};
    // On X11 the active keyboard group is the truth; the input method's locale there is only the
    // system's locale and says nothing about the keys.
    if (qGuiApp->platformName() == QLatin1String("xcb")) {
        const KeyboardSource& keyboard = keyboardSource();
        const std::vector<std::string> names = keyboard.groupNames();
        const int active = keyboard.activeGroup();
        const std::string group = active >= 0 && static_cast<std::size_t>(active) < names.size()
                                      ? names[static_cast<std::size_t>(active)]
                                      : std::string();
        if (group.rfind("Russian", 0) == 0)
            return KeyboardLayout::Russian;
        if (group.rfind("English", 0) == 0)
            return KeyboardLayout::English;
        return {};
    }
    // Elsewhere only a desktop session's input method can know; the offscreen and minimal platforms
    // of tests and scripts have no keyboard at all.
    if (!qGuiApp->platformName().startsWith(QLatin1String("wayland")))
        return {};
    const QLocale::Language language = QGuiApplication::inputMethod()->locale().language();
    if (language == QLocale::Russian)
        return KeyboardLayout::Russian;
    if (language == QLocale::English)
        return KeyboardLayout::English;
    return {};
}

} // namespace

void KeyboardLayout::activate(const std::string& id)
{
    state().recorded = id;
    if (state().ignorePlatform)
        return;
    // The wanted group among those the desktop has configured; without it the keyboard stays as it is.
    KeyboardSource& keyboard = keyboardSource();
    if (const int group = GroupForLayout(keyboard.groupNames(), id); group >= 0)
        keyboard.lockGroup(group);
}

std::string KeyboardLayout::activeName()
{
    if (!state().ignorePlatform) {
        std::string name = platformLayout();
        if (!name.empty())
            return name;
    }
    return state().recorded;
}

void KeyboardLayout::setIgnorePlatform(bool ignore)
{
    state().ignorePlatform = ignore;
}

} // namespace zolbin
