// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/peers/PeerProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zolbin::test {

namespace {

using SteadyClock = std::chrono::steady_clock;

int msLeft(SteadyClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

std::string errnoText(const char* what, int err)
{
    return std::string(what) + ": " + std::strerror(err);
}

// True when the text begins with the word and a space; the rest goes to `rest`.
bool startsWithWord(const std::string& text, const std::string& word, std::string& rest)
{
    if (text.compare(0, word.size() + 1, word + " ") != 0)
        return false;
    rest = text.substr(word.size() + 1);
    return true;
}

} // namespace

PeerProcess::PeerProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& errorLog, int readyTimeoutMs)
{
    if (::access(program.c_str(), X_OK) != 0) {
        state_ = State::Unavailable;
        problem_ = program + " is not installed";
        return;
    }

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        problem_ = errnoText("pipe", errno);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // The peer watches this process and stops when it is gone.
    std::string parent = "ZOLBIN_PEER_PARENT=" + std::to_string(::getpid());
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "ZOLBIN_PEER_PARENT=", 19) != 0)
            envp.push_back(*e);
    envp.push_back(parent.data());
    envp.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    output_ = fds[0];
    if (rc != 0) {
        pid_ = -1;
        problem_ = errnoText("posix_spawn", rc);
        return;
    }

    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(readyTimeoutMs);
    std::string line;
    while (!takeLine(line)) {
        if (msLeft(deadline) == 0) {
            problem_ =
                "no ready line within " + std::to_string(readyTimeoutMs) + " ms (see " + errorLog + ")";
            return;
        }
        if (!readOutput(msLeft(deadline))) {
            problem_ = "the peer ended before it was ready (see " + errorLog + ")";
            return;
        }
    }
    std::string rest;
    if (startsWithWord(line, "ready", rest)) {
        const int port = std::atoi(rest.c_str());
        if (port > 0 && port < 65536) {
            port_ = static_cast<std::uint16_t>(port);
            state_ = State::Ready;
            return;
        }
    }
    if (startsWithWord(line, "unavailable", rest)) {
        state_ = State::Unavailable;
        problem_ = rest;
        return;
    }
    problem_ = "unexpected first line from the peer: " + line;
}

PeerProcess::~PeerProcess()
{
    stop();
}

bool PeerProcess::readOutput(int waitMs)
{
    if (output_ < 0)
        return false;
    pollfd p{output_, POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    if (ready <= 0)
        return true; // nothing yet (or interrupted): not the end
    char buffer[4096];
    const ssize_t n = ::read(output_, buffer, sizeof buffer);
    if (n > 0) {
        pending_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    if (n < 0 && errno == EINTR)
        return true;
    ::close(output_);
    output_ = -1;
    return false;
}

bool PeerProcess::takeLine(std::string& line)
{
    const std::size_t end = pending_.find('\n');
    if (end == std::string::npos)
        return false;
    line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return true;
}

const std::vector<std::string>& PeerProcess::events(int waitMs)
{
    if (readOutput(waitMs)) {
        // Whatever else is there already.
        while (output_ >= 0) {
            const std::size_t before = pending_.size();
            if (!readOutput(0) || pending_.size() == before)
                break;
        }
    }
    std::string line;
    while (takeLine(line))
        events_.push_back(line);
    return events_;
}

bool PeerProcess::waitForEvent(const std::string& line, int timeoutMs)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (const std::string& event : events(0))
            if (event == line)
                return true;
        if (msLeft(deadline) == 0 || output_ < 0)
            return false;
        events(std::min(msLeft(deadline), 50));
    }
}

void PeerProcess::stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        const auto deadline = SteadyClock::now() + std::chrono::seconds(3);
        int status = 0;
        pid_t done = 0;
        while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0 && msLeft(deadline) > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (done == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }
    if (output_ >= 0) {
        ::close(output_);
        output_ = -1;
    }
}

} // namespace zolbin::test
