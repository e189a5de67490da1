// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/X11Keyboard.h"

#include <QGuiApplication>
#include <algorithm>

#ifdef ZOLBIN_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
// Xlib defines macros (None, Bool, Status, KeyPress) that clash with Qt's names: it comes last and
// nothing of Qt is used below it but the display look-up.
#include <X11/XKBlib.h>
#endif

namespace zolbin::x11 {

#ifdef ZOLBIN_HAVE_X11

namespace {

Display* display()
{
    if (qGuiApp == nullptr)
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

} // namespace

std::optional<bool> Keyboard::capsLockOn() const
{
    Display* dpy = display();
    if (dpy == nullptr)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return (state.locked_mods & LockMask) != 0;
}

int Keyboard::activeGroup() const
{
    Display* dpy = display();
    XkbStateRec state{};
    if (dpy == nullptr || XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.group;
}

std::vector<std::string> Keyboard::groupNames() const
{
    Display* dpy = display();
    if (dpy == nullptr)
        return {};
    XkbDescPtr desc = XkbAllocKeyboard();
    if (desc == nullptr)
        return {};
    std::vector<std::string> names;
    if (XkbGetControls(dpy, XkbGroupsWrapMask, desc) == Success && desc->ctrls != nullptr &&
        XkbGetNames(dpy, XkbGroupNamesMask, desc) == Success && desc->names != nullptr) {
        const int groups = std::min<int>(desc->ctrls->num_groups, XkbNumKbdGroups);
        for (int g = 0; g < groups; ++g) {
            std::string name;
            if (const Atom atom = desc->names->groups[g]; atom != 0) {
                if (char* text = XGetAtomName(dpy, atom)) {
                    name = text;
                    XFree(text);
                }
            }
            names.push_back(name);
        }
    }
    XkbFreeKeyboard(desc, 0, True);
    return names;
}

bool Keyboard::lockGroup(int index)
{
    Display* dpy = display();
    if (dpy == nullptr || index < 0 || index >= XkbNumKbdGroups)
        return false;
    const bool sent = XkbLockGroup(dpy, XkbUseCoreKbd, static_cast<unsigned>(index)) == True;
    XFlush(dpy);
    return sent;
}

#else

std::optional<bool> Keyboard::capsLockOn() const
{
    return std::nullopt;
}

int Keyboard::activeGroup() const
{
    return -1;
}

std::vector<std::string> Keyboard::groupNames() const
{
    return {};
}

bool Keyboard::lockGroup(int)
{
    return false;
}

#endif

} // namespace zolbin::x11
