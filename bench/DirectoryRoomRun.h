// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The helper of scripts/bench-room.sh for the room's directory, run in a process of its own.

namespace zolbin::bench {

// Two desks' window programs on the folders, whose settings name the same room database: one desk
// changes a subscriber's number and saves, until the other desk's lists hold the change; prints the
// median and the 95th percentile of that delay in ms over the changes.
int MeasureDirectoryEdit(const char* folder1, const char* folder2, int changes, int argc, char** argv);

} // namespace zolbin::bench
