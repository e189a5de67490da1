// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/Unprivileged.h"

#include <chrono>
#include <csignal>
#include <grp.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zolbin::test {

namespace {

constexpr uid_t Nobody = 65534;

bool becomeOrdinaryUser()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0;
}

} // namespace

bool RunUnprivileged(const std::function<bool()>& check, int timeoutMs)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0)
        ::_exit(becomeOrdinaryUser() && check() ? 0 : 1);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 || std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace zolbin::test
