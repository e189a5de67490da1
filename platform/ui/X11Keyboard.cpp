#include "platform/ui/X11Keyboard.h"

#include <QGuiApplication>

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

std::optional<bool> capsLockOn()
{
    Display* dpy = display();
    if (dpy == nullptr)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return (state.locked_mods & LockMask) != 0;
}

std::string activeGroupName()
{
    Display* dpy = display();
    if (dpy == nullptr)
        return {};
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return {};
    XkbDescPtr desc = XkbAllocKeyboard();
    if (desc == nullptr)
        return {};
    std::string name;
    if (XkbGetNames(dpy, XkbGroupNamesMask, desc) == Success && desc->names != nullptr &&
        state.group < XkbNumKbdGroups) {
        const Atom atom = desc->names->groups[state.group];
        if (atom != 0) {
            if (char* text = XGetAtomName(dpy, atom)) {
                name = text;
                XFree(text);
            }
        }
    }
    XkbFreeKeyboard(desc, 0, True);
    return name;
}

#else

std::optional<bool> capsLockOn()
{
    return std::nullopt;
}

std::string activeGroupName()
{
    return {};
}

#endif

} // namespace zolbin::x11
