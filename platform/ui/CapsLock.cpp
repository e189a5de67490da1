#include "platform/ui/CapsLock.h"

#include "platform/ui/X11Keyboard.h"

namespace zolbin {

CapsLock& CapsLock::instance()
{
    static CapsLock lock;
    return lock;
}

CapsLock::CapsLock() : on_(x11::capsLockOn().value_or(false)) {}

void CapsLock::keyPressed()
{
    set(!on_);
}

void CapsLock::set(bool on)
{
    on_ = on;
    emit changed(on_);
}

} // namespace zolbin
