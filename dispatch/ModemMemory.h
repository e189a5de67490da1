// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a run remembers of each GSM modem line between its pages: a PIN the SIM refused (never given again
// by itself: three wrong ones lock the SIM), a modem that stopped answering (reset before its next page)
// and one that may still wait for a PDU it never prompted for (its input cancelled before anything else);
// and the reference of the next concatenated message. Whoever runs the sends owns one and gives it to
// each send command: the window one for all its sends, zolbin-send one per run or per outbox worker.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace zolbin {

class ModemMemory final
{
public:
    struct Line
    {
        bool refusedPin = false;
        std::string pinRefused;
        bool resetDue = false;
        bool inputOpen = false;
    };

    ModemMemory();

    // What is remembered of the device (nothing yet: all false).
    Line Recalled(const std::string& device) const;
    // Changes what is remembered of the device.
    void Remember(const std::string& device, const std::function<void(Line&)>& change);
    // The reference of the next message sent in parts (it differs from the last one's).
    std::uint8_t NextReference();

private:
    mutable std::mutex mutex_;
    std::map<std::string, Line> lines_;
    unsigned reference_;
};

} // namespace zolbin
