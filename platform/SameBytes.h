// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How many bytes two byte strings share at their start, or at their end, compared a block at a time
// (memcmp) and then byte by byte within the block that differs: a list of 22 MB changed in one record
// is compared at the speed of memory.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace zolbin {

// The bytes equal at the start of both (at most the shorter's size).
inline std::size_t SameLeadingBytes(std::string_view a, std::string_view b)
{
    constexpr std::size_t Block = 4096;
    const std::size_t most = std::min(a.size(), b.size());
    std::size_t same = 0;
    while (same < most) {
        const std::size_t n = std::min(Block, most - same);
        if (std::memcmp(a.data() + same, b.data() + same, n) != 0) {
            while (a[same] == b[same])
                ++same;
            return same;
        }
        same += n;
    }
    return most;
}

// The bytes equal at the end of both, counting at most `limit`.
inline std::size_t SameTrailingBytes(std::string_view a, std::string_view b, std::size_t limit)
{
    constexpr std::size_t Block = 4096;
    const std::size_t most = std::min({a.size(), b.size(), limit});
    const char* x = a.data() + a.size();
    const char* y = b.data() + b.size();
    std::size_t same = 0;
    while (same < most) {
        const std::size_t n = std::min(Block, most - same);
        if (std::memcmp(x - same - n, y - same - n, n) != 0) {
            while (x[-1 - static_cast<std::ptrdiff_t>(same)] == y[-1 - static_cast<std::ptrdiff_t>(same)])
                ++same;
            return same;
        }
        same += n;
    }
    return most;
}

} // namespace zolbin
