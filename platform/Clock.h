// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tick counter and the wall clock, replaceable in tests.

#include <QDateTime>
#include <cstdint>

namespace zolbin {

class Clock
{
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds (the system tick counter).
    virtual std::uint64_t tickCount() const;
    // The local date and time now.
    virtual QDateTime now() const;
    // Sleeps without dispatching anything.
    virtual void sleepMs(unsigned ms) const;

    // The clock in use; set(nullptr) restores the system clock. The caller keeps ownership.
    static const Clock& current();
    static void set(const Clock* clock);
};

} // namespace zolbin
