// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Memory for many records at once. A block of megabytes is mapped on its own, aligned so that the system
// may back it with large pages where it offers them: filling 20 MB then costs ten page faults instead of
// five thousand. Smaller blocks come from the ordinary heap.

#include <cstddef>

namespace zolbin {

// Returns nullptr when no memory is left. The bytes are uninitialised (zero when mapped).
void* allocateLargeBlock(std::size_t bytes);
// Takes a block back; bytes as given to allocateLargeBlock.
void freeLargeBlock(void* block, std::size_t bytes);

} // namespace zolbin
