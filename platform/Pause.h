// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zolbin {

// Holds the calling thread the given milliseconds by the clock in use, dispatching nothing. A send waits
// so on its own thread; the window's thread never pauses.
void Pause(unsigned ms);

} // namespace zolbin
