// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/ModemMemory.h"

#include <chrono>

namespace zolbin {

// The references start anywhere, so that two runs seldom give the same one to one recipient.
ModemMemory::ModemMemory()
    : reference_(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0xFF))
{
}

ModemMemory::Line ModemMemory::Recalled(const std::string& device) const
{
    std::lock_guard lock(mutex_);
    const auto it = lines_.find(device);
    return it != lines_.end() ? it->second : Line{};
}

void ModemMemory::Remember(const std::string& device, const std::function<void(Line&)>& change)
{
    std::lock_guard lock(mutex_);
    change(lines_[device]);
}

std::uint8_t ModemMemory::NextReference()
{
    std::lock_guard lock(mutex_);
    return static_cast<std::uint8_t>(++reference_ & 0xFF);
}

} // namespace zolbin
