// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/KeyboardSource.h"

#include "platform/ui/KeyboardLayout.h"
#include "platform/ui/X11Keyboard.h"

namespace zolbin {

namespace {

KeyboardSource*& installed()
{
    static KeyboardSource* source = nullptr;
    return source;
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

KeyboardSource& keyboardSource()
{
    static x11::Keyboard display;
    return installed() != nullptr ? *installed() : display;
}

KeyboardSource* setKeyboardSource(KeyboardSource* source)
{
    KeyboardSource* previous = installed();
    installed() = source;
    return previous;
}

int GroupForLayout(const std::vector<std::string>& groupNames, const std::string& layoutId)
{
    const std::string wanted = layoutId == KeyboardLayout::Russian   ? "Russian"
                               : layoutId == KeyboardLayout::English ? "English (US)"
                                                                     : std::string();
    if (wanted.empty())
        return -1;
    for (std::size_t i = 0; i < groupNames.size(); ++i)
        if (startsWith(groupNames[i], wanted))
            return static_cast<int>(i);
    return -1;
}

} // namespace zolbin
