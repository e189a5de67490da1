// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Pause.h"

#include "platform/Clock.h"

namespace zolbin {

void Pause(unsigned ms)
{
    // Sleeping through the clock lets a test clock advance by the same amount, so a pause under a fixed
    // clock ends at once.
    if (ms > 0)
        Clock::current().sleepMs(ms);
}

} // namespace zolbin
