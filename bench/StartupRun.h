// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One start of the window program on a data folder, as main() makes it, until its event loop has
// nothing left to do.

#include "platform/DataFolder.h"

#include <memory>

namespace zolbin::bench {

class StartedProgram
{
public:
    // Claims the folder, builds the session and every window, shows the main window and runs the event
    // loop until it is idle.
    explicit StartedProgram(const DataFolder& folder);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    struct Parts;
    Parts& parts() { return *parts_; }

private:
    std::unique_ptr<Parts> parts_;
};

// Runs the event loop until it is about to wait for new events.
void RunUntilIdle();

// The start-up probe: starts the program on the folder, and prints "<cpu seconds> <peak RSS KiB> <wall
// ms>" (user plus system time of the whole process, from its start; the wall time from the folder's claim
// until the event loop is idle, which counts the waits for a room's server). Returns the exit status.
int ProbeStartup(const char* folder, int argc, char** argv);

} // namespace zolbin::bench
