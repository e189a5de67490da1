// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Permissions bind an operator but not the superuser, and the tests may run as either. This runs a check
// in a child process as an ordinary user: as the superuser the child first becomes "nobody" (65534), so
// that a read-only file or folder stops it as it would stop anyone else.

#include <functional>

namespace zolbin::test {

// True when the check ran and returned true. The child is killed after timeoutMs (false then).
bool RunUnprivileged(const std::function<bool()>& check, int timeoutMs = 10000);

} // namespace zolbin::test
