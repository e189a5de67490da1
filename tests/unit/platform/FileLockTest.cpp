// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.h"

#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zolbin {
namespace {

// A holder killed outright (kill -9) leaves no stale lock behind.
TEST(FileLock, AKilledHolderLeavesTheLockFree)
{
    test::TempDataDir dir;
    const std::string path = dir.path() + "/.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock held;
        const char taken = held.take(path) == FileLock::Result::Taken ? 'y' : 'n';
        (void)!::write(ready[1], &taken, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char taken = 0;
    const bool answered = ::poll(&wait, 1, 10000) == 1 && ::read(ready[0], &taken, 1) == 1;
    ::close(ready[0]);

    FileLock mine;
    const FileLock::Result whileHeld = mine.take(path);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(answered) << "the child did not start within 10 s";
    EXPECT_EQ(taken, 'y');
    EXPECT_EQ(whileHeld, FileLock::Result::Busy);
    EXPECT_EQ(mine.take(path), FileLock::Result::Taken);
}

} // namespace
} // namespace zolbin
