// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The smallest SNPP server that takes pages, for the send benchmarks: a thread listening on 127.0.0.1 on
// a port the system gives. Each connection is greeted with "220 ready", every line is answered "250 OK"
// and QUIT "221 bye", after which the connection is closed. One connection at a time, as the send command
// makes them, or each on a thread of its own for several senders at once. No wait lasts longer than its
// limit: a client that falls silent is dropped.

#include <atomic>
#include <cstdint>
#include <thread>

namespace zolbin::bench {

class SnppResponder final
{
public:
    // Listens and starts serving; throws std::runtime_error when it cannot listen. concurrent: each
    // connection served on a thread of its own.
    explicit SnppResponder(bool concurrent = false);
    // Stops serving (within the limit of one wait) and closes the port.
    ~SnppResponder();
    SnppResponder(const SnppResponder&) = delete;
    SnppResponder& operator=(const SnppResponder&) = delete;

    std::uint16_t port() const { return port_; }
    // The sessions that reached QUIT.
    int completed() const { return completed_; }

private:
    void run();
    void serve(int client);
    // Waits until the socket has something to read, the limit passes or the server stops.
    bool readable(int socket, int limitMs) const;

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> completed_{0};
    bool concurrent_ = false;
    std::atomic<int> serving_{0}; // connections on threads of their own not yet closed
    std::thread thread_;
};

} // namespace zolbin::bench
