// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A TAP paging terminal of our own, for tests: over TCP on 127.0.0.1 (a free port), or behind a Hayes
// modem on the master side of a pseudo-terminal pair (the client opens slavePath()). It checks every
// block's checksum itself, undoes the transparency escape, joins continued fields and records each page
// it accepted and every byte it received. Its behaviour is scripted; each wait has a time limit, and it
// stops when destroyed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zolbin::test {

struct TapBehaviour
{
    std::string password;                // the logon must carry it
    bool silent = false;                 // never answers "ID="
    bool refuseLogon = false;            // ESC EOT to the logon
    int logonNaks = 0;                   // NAKs the first logons
    int blockNaks = 0;                   // NAKs each block this many times before judging it
    bool noiseOnFirstBlock = false;      // one bit of the first block arrives flipped (a checksum error)
    std::set<std::string> refusedPagers; // RS for pages to these pager IDs
    std::vector<std::string> notices;    // informational lines sent before each ACK of a logon
    bool ackBeforeBlock = false;         // an ACK line right behind the go-ahead, before any block
    int burstGapMs = 0;                  // the logon answered a byte at a time this far apart
    bool closeOnBlock = false;           // hangs up when a block arrives
    int silentOnBlock = 0;               // takes block n (from 1) whole, then never answers anything
    bool endlessClosing = false;         // answers EOT with ACK, NAK, RS and ESC [p lines until hung up
    std::string floodBeforeId;           // streams these bytes until hung up, never saying "ID="
    std::string floodOnLogon;            // streams this line to the logon, never answering it
};

// What the modem answers to the dial command (a word such as "BUSY"; empty: "CONNECT 9600").
struct ModemBehaviour
{
    std::string dialAnswer;
};

struct TapPage
{
    std::string pager;
    std::string message;
};

class TapTerminal
{
public:
    // Over TCP.
    explicit TapTerminal(TapBehaviour behaviour);
    // Behind a modem on a pseudo-terminal.
    TapTerminal(TapBehaviour behaviour, ModemBehaviour modem);
    ~TapTerminal();
    TapTerminal(const TapTerminal&) = delete;
    TapTerminal& operator=(const TapTerminal&) = delete;

    std::uint16_t port() const { return port_; }
    const std::string& slavePath() const { return slavePath_; }

    std::vector<TapPage> pages() const;
    std::string received() const; // every byte of every session (the modem's commands included)
    std::vector<std::string> dialled() const;
    // The modem's view of each "+++": the quiet before it and after it, in milliseconds.
    std::vector<std::pair<long, long>> escapeGuards() const;

    // The checksum as this terminal computes it, for tests that build a block themselves.
    static std::string ChecksumOf(const std::string& block);

private:
    void runTcp();
    void runModem();
    // One TAP session on the descriptor; returns when it ended.
    void session(int fd);
    bool readByte(int fd, char& c);
    void write(int fd, const std::string& bytes);
    // Writes the bytes a byte at a time, `gapMs` apart (all at once for 0).
    void writeSlowly(int fd, const std::string& bytes, int gapMs);
    // Sends the bytes again and again until the client hangs up (or the time limit).
    void flood(int fd, const std::string& bytes);

    TapBehaviour behaviour_;
    ModemBehaviour modem_;
    int listener_ = -1;
    int master_ = -1;
    int slave_ = -1;
    std::uint16_t port_ = 0;
    std::string slavePath_;
    mutable std::mutex mutex_;
    std::vector<TapPage> pages_;
    std::string received_;
    std::vector<std::string> dialled_;
    std::vector<std::pair<long, long>> escapeGuards_;
    std::chrono::steady_clock::time_point lastByteAt_{};
    std::chrono::steady_clock::time_point byteBeforeAt_{}; // the byte before the last one
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace zolbin::test
