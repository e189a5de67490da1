// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zolbin {

// Waits the given milliseconds by the tick counter while dispatching pending window messages; they are
// dispatched at least once, even for 0. The program's only way of waiting.
void Pause(unsigned ms);

} // namespace zolbin
