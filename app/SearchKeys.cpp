// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SearchKeys.h"

#include "platform/ui/KeyboardLayout.h"

#include <QKeyEvent>

namespace zolbin {

char SearchKeyOf(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers();
    if (!(mods & Qt::ControlModifier) || (mods & Qt::KeypadModifier))
        return 0;
    return KeyPositionOf(key);
}

std::string SearchCharacter(char position, const std::string& layoutId)
{
    if (position >= '0' && position <= '9')
        return std::string(1, position);
    const char cyrillic = CyrillicOnPosition(position);
    if (cyrillic == 0)
        return {};
    if (layoutId == KeyboardLayout::English)
        return position >= 'a' && position <= 'z' ? std::string(1, position) : std::string();
    return std::string(1, cyrillic);
}

} // namespace zolbin
