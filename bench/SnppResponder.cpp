// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/SnppResponder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::bench {

namespace {

// How long a connected client may stay silent before it is dropped.
constexpr int ClientLimitMs = 5000;
// How often a wait looks whether the server is to stop.
constexpr int SliceMs = 50;

bool reply(int client, const char* text)
{
    // A reply of a few bytes always fits the socket's buffer: sending it does not wait.
    const std::string line(text);
    return ::send(client, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
}

} // namespace

SnppResponder::SnppResponder(bool concurrent) : concurrent_(concurrent)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        throw std::runtime_error("the responder has no socket");
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        throw std::runtime_error("the responder cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

SnppResponder::~SnppResponder()
{
    stop_ = true;
    thread_.join();
    // The connections' threads end within one wait once stopped.
    while (serving_ > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(SliceMs));
    ::close(listener_);
}

bool SnppResponder::readable(int socket, int limitMs) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        pollfd wanted{socket, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, SliceMs);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

void SnppResponder::run()
{
    while (!stop_) {
        if (!readable(listener_, SliceMs))
            continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const int yes = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        if (concurrent_) {
            ++serving_;
            std::thread([this, client] {
                serve(client);
                ::close(client);
                --serving_;
            }).detach();
            continue;
        }
        serve(client);
        ::close(client);
    }
}

void SnppResponder::serve(int client)
{
    if (!reply(client, "220 ready\r\n"))
        return;
    std::string pending;
    char buffer[4096];
    while (readable(client, ClientLimitMs)) {
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const bool quit = pending.compare(0, 4, "QUIT") == 0;
            pending.erase(0, end + 1);
            if (quit) {
                ++completed_;
                (void)reply(client, "221 bye\r\n");
                return;
            }
            if (!reply(client, "250 OK\r\n"))
                return;
        }
    }
}

} // namespace zolbin::bench
