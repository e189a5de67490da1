// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A protocol peer run as a child process for the integration tests: started with posix_spawn, its
// standard output read for a "ready PORT" line within a time limit, later lines kept as events; stopped
// with SIGTERM (SIGKILL when it does not go) when the object is destroyed.
//
// A peer script that finds its library missing prints "unavailable REASON" and exits; so does a missing
// interpreter. Such a peer is Unavailable (the test is skipped); any other failure to become ready is
// Failed (the test fails).

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zolbin::test {

class PeerProcess
{
public:
    enum class State
    {
        Ready,
        Unavailable,
        Failed
    };

    // program: an absolute path; errorLog: the file that receives the peer's standard error.
    PeerProcess(const std::string& program, const std::vector<std::string>& args, const std::string& errorLog,
                int readyTimeoutMs = 10000);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    State state() const { return state_; }
    // Why the peer is not ready (empty when it is).
    const std::string& problem() const { return problem_; }
    std::uint16_t port() const { return port_; }

    // The lines the peer printed after its ready line, reading what has arrived within waitMs.
    const std::vector<std::string>& events(int waitMs = 0);
    // Waits until the peer has printed the line (at most timeoutMs).
    bool waitForEvent(const std::string& line, int timeoutMs);

private:
    // Reads what the peer printed, waiting at most waitMs for the first byte. False at end of output.
    bool readOutput(int waitMs);
    bool takeLine(std::string& line);
    void stop();

    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
    std::vector<std::string> events_;
    State state_ = State::Failed;
    std::string problem_;
    std::uint16_t port_ = 0;
};

} // namespace zolbin::test
