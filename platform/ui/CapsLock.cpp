// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/CapsLock.h"

#include "platform/ui/KeyboardSource.h"

namespace zolbin {

CapsLock& CapsLock::instance()
{
    static CapsLock lock;
    return lock;
}

CapsLock::CapsLock() : on_(keyboardSource().capsLockOn().value_or(false)) {}

void CapsLock::refresh()
{
    if (const std::optional<bool> on = keyboardSource().capsLockOn(); on && *on != on_)
        set(*on);
}

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
