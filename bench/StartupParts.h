// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a started program holds, for the benchmarks that work on its windows.

#include "app/Windows.h"
#include "bench/StartupRun.h"
#include "platform/FileLock.h"
#include "records/Session.h"

#include <memory>

namespace zolbin::bench {

struct StartedProgram::Parts
{
    FileLock lock;
    std::unique_ptr<Session> session;
    std::unique_ptr<Windows> windows;
};

} // namespace zolbin::bench
