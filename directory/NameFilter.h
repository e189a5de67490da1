// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A quick first look at whether a name is one of a set: a bit for each name of the set, chosen by a cheap
// hash of its first and last eight bytes and its length. A name whose bit is clear is surely none of
// them; only for the rest is the set itself asked. Looking up 100,000 subscribers' names for the few
// thousand names of the groups' members, most are passed over at the cost of a multiplication.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace zolbin {

class NameFilter
{
public:
    void add(std::string_view name)
    {
        const std::uint64_t b = bitOf(name);
        bits_[b >> 6] |= std::uint64_t{1} << (b & 63);
    }
    bool mayHold(std::string_view name) const
    {
        const std::uint64_t b = bitOf(name);
        return ((bits_[b >> 6] >> (b & 63)) & 1) != 0;
    }

private:
    static constexpr unsigned BitsLog2 = 18; // 32 KiB: a few thousand names leave most bits clear
    static std::uint64_t bitOf(std::string_view name)
    {
        std::uint64_t head = 0, tail = 0;
        const std::size_t n = std::min<std::size_t>(name.size(), 8);
        if (n > 0) {
            std::memcpy(&head, name.data(), n);
            std::memcpy(&tail, name.data() + name.size() - n, n);
        }
        const std::uint64_t h =
            ((head * 0x9E3779B97F4A7C15ULL) ^ (tail * 0xC2B2AE3D27D4EB4FULL) ^ name.size()) *
            0xFF51AFD7ED558CCDULL;
        return h >> (64 - BitsLog2);
    }
    std::vector<std::uint64_t> bits_ = std::vector<std::uint64_t>((std::uint64_t{1} << BitsLog2) / 64);
};

} // namespace zolbin
