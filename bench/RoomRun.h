// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The helpers of scripts/bench-room.sh for a room on a PostgreSQL outbox, each run in a process of its own.

#include <string>

namespace zolbin::bench {

// Serves SNPP on 127.0.0.1, each connection on a thread of its own: prints the port, serves until standard
// input ends, then prints the sessions completed.
int ServeSnpp();

// One desk queues a page, another desk's open queue window reads the outbox again on the notice of the
// change: prints the median and the 95th percentile of that delay in ms over the changes.
int MeasureRoomNotice(const std::string& database, int changes, int argc, char** argv);

} // namespace zolbin::bench
