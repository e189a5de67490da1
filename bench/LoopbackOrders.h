// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send benchmarks' directory and their orders: one company (KOI8-R, as the usual default) whose SNPP
// server is on 127.0.0.1 at the given port, and one group of as many of its subscribers as asked.

#include "directory/Lists.h"
#include "dispatch/SendJob.h"

#include <cstdint>
#include <string>

namespace zolbin::bench {

// The benchmarks' message (cp1251): one line, within every subscriber's limit.
const std::string& PageText();

class LoopbackOrders final
{
public:
    LoopbackOrders(std::uint16_t port, int members);

    // The order of the message to the group's first member alone, or to the whole group, taken as Send
    // takes it in the data folder.
    SendOrder subscriberOrder(const DataFolder& folder) const;
    SendOrder groupOrder(const DataFolder& folder) const;

private:
    TProviderList providers_;
    TGroupList groups_;
};

} // namespace zolbin::bench
