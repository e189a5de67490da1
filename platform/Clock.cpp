// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>

namespace zolbin {

namespace {

const Clock& systemClock()
{
    static const Clock instance;
    return instance;
}

std::atomic<const Clock*> installed{nullptr};

} // namespace

std::uint64_t Clock::tickCount() const
{
    // Milliseconds of the monotonic clock, counted from the first call; never goes back.
    static const QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<std::uint64_t>(timer.elapsed());
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

void Clock::sleepMs(unsigned ms) const
{
    QThread::msleep(ms);
}

const Clock& Clock::current()
{
    const Clock* clock = installed.load();
    return clock != nullptr ? *clock : systemClock();
}

void Clock::set(const Clock* clock)
{
    installed.store(clock);
}

} // namespace zolbin
