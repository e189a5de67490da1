// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A server of our own on 127.0.0.1 (a free port) that plays a script: a greeting, then one reply per
// line received. It can split a reply into pieces, merge two replies, stay silent, or close; it records
// every byte it received. Each wait has a time limit; it stops when destroyed.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zolbin::test {

struct ScriptedReply
{
    std::vector<std::string> pieces; // sent one after another, with a short gap between them
    bool silent = false;             // send nothing and keep the connection open
    bool close = false;              // close the connection instead of replying
    bool mailData = false;           // after this reply, read mail data up to the "." line silently
};

struct ScriptedSession
{
    std::vector<std::string> greeting; // pieces; empty = no greeting
    std::vector<ScriptedReply> replies;
};

// Shorthands: one reply sent whole.
ScriptedReply Reply(const std::string& text);
ScriptedReply DataReply(const std::string& text); // the reply to DATA

class ScriptedServer
{
public:
    explicit ScriptedServer(std::vector<ScriptedSession> sessions);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t port() const { return port_; }
    // What the client sent during each session so far.
    std::vector<std::string> received() const;
    int accepted() const { return accepted_; }

    // A port on 127.0.0.1 on which nothing listens.
    static std::uint16_t closedPort();

private:
    void run();
    void serve(int client, const ScriptedSession& session, std::size_t index);
    bool readLine(int client, std::size_t index, std::string& line);
    void sendPieces(int client, const std::vector<std::string>& pieces);

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::vector<ScriptedSession> sessions_;
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::thread thread_;
};

} // namespace zolbin::test
