// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock for tests: "now" is fixed, the tick counter advances only by sleeps and by advance().

#include "platform/Clock.h"

namespace zolbin::test {

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 30))) : now_(std::move(now))
    {
        Clock::set(this);
    }
    ~FixedClock() override { Clock::set(nullptr); }

    std::uint64_t tickCount() const override { return ticks_; }
    QDateTime now() const override { return now_; }
    void sleepMs(unsigned ms) const override { ticks_ += ms; }

    void setNow(QDateTime now) { now_ = std::move(now); }
    void advance(std::uint64_t ms) { ticks_ += ms; }

private:
    QDateTime now_;
    mutable std::uint64_t ticks_ = 1000000;
};

} // namespace zolbin::test
