// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ScriptedServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::test {

namespace {

// The longest the server waits for the client at any point: no test hangs on it.
constexpr int WaitLimitMs = 20000;

int listenOnLoopback(std::uint16_t& port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        throw std::runtime_error("socket failed");
    const int yes = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 8) != 0)
        throw std::runtime_error("bind/listen failed");
    socklen_t len = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &len);
    port = ntohs(address.sin_port);
    return s;
}

} // namespace

ScriptedReply Reply(const std::string& text)
{
    ScriptedReply reply;
    reply.pieces = {text};
    return reply;
}

ScriptedReply DataReply(const std::string& text)
{
    ScriptedReply reply = Reply(text);
    reply.mailData = true;
    return reply;
}

ScriptedServer::ScriptedServer(std::vector<ScriptedSession> sessions) : sessions_(std::move(sessions))
{
    listener_ = listenOnLoopback(port_);
    received_.resize(sessions_.size());
    thread_ = std::thread([this] { run(); });
}

ScriptedServer::~ScriptedServer()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> ScriptedServer::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::uint16_t ScriptedServer::closedPort()
{
    std::uint16_t port = 0;
    const int s = listenOnLoopback(port);
    ::close(s);
    return port;
}

void ScriptedServer::run()
{
    for (std::size_t index = 0; index < sessions_.size() && !stop_; ++index) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
        int client = -1;
        while (!stop_ && client < 0 && std::chrono::steady_clock::now() < deadline) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0)
                client = ::accept(listener_, nullptr, nullptr);
        }
        if (client < 0)
            return;
        ++accepted_;
        serve(client, sessions_[index], index);
        ::close(client);
    }
}

void ScriptedServer::sendPieces(int client, const std::vector<std::string>& pieces)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ::send(client, pieces[i].data(), pieces[i].size(), MSG_NOSIGNAL);
    }
}

bool ScriptedServer::readLine(int client, std::size_t index, std::string& line)
{
    line.clear();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char ch = 0;
        if (::recv(client, &ch, 1, 0) != 1)
            return false;
        {
            std::lock_guard lock(mutex_);
            received_[index] += ch;
        }
        line += ch;
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
            line.resize(line.size() - 2);
            return true;
        }
    }
    return false;
}

void ScriptedServer::serve(int client, const ScriptedSession& session, std::size_t index)
{
    sendPieces(client, session.greeting);
    std::string line;
    bool haveLine = false; // the "." ending mail data was read already: its reply is due at once
    for (const ScriptedReply& reply : session.replies) {
        if (!haveLine && !readLine(client, index, line))
            return;
        haveLine = false;
        if (reply.close)
            return;
        if (reply.silent) {
            // Keep the connection open until the client gives up (closes) or the test ends.
            while (!stop_ && readLine(client, index, line)) {
            }
            return;
        }
        sendPieces(client, reply.pieces);
        if (reply.mailData) {
            while (readLine(client, index, line) && line != ".") {
            }
            haveLine = true;
        }
    }
    // The script is played out: the server hangs up, as one does after QUIT.
}

} // namespace zolbin::test
