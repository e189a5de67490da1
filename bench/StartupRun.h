// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One start of the window program in the current folder, as main() makes it, until its event loop has
// nothing left to do.

#include <memory>

namespace zolbin::bench {

class StartedProgram
{
public:
    // Claims the folder, builds the session and every window, shows the main window and runs the event
    // loop until it is idle.
    StartedProgram();
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

// The start-up probe: enters the folder, starts the program, and prints "<cpu seconds> <peak RSS KiB>"
// (user plus system time of the whole process, from its start). Returns the exit status.
int ProbeStartup(const char* folder, int argc, char** argv);

} // namespace zolbin::bench
