// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Pause.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <algorithm>

namespace zolbin {

namespace {
// The longest sleep between two rounds of message dispatching: short enough that the windows stay
// responsive, long enough not to spin.
constexpr std::uint64_t SliceMs = 5;
} // namespace

void Pause(unsigned ms)
{
    const Clock& clock = Clock::current();
    const std::uint64_t start = clock.tickCount();
    for (;;) {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const std::uint64_t elapsed = clock.tickCount() - start;
        if (elapsed >= ms)
            return;
        // Sleeping through the clock lets a test clock advance by the same amount, so a pause under a
        // fixed clock ends at once.
        clock.sleepMs(static_cast<unsigned>(std::min<std::uint64_t>(ms - elapsed, SliceMs)));
    }
}

} // namespace zolbin
