// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two real protocol peers of the integration tests, each in a private folder of its own (apart from
// the program's data folder):
//  - SnppPeer: Net::SNPP::Server (snpp_peer.pl under /usr/bin/perl), which records every command line;
//  - SmtpPeer: aiosmtpd (smtp_peer.py under /usr/bin/python3), which stores every mail it accepts.
// Both listen on 127.0.0.1 on a free port and stop when the object is destroyed.

#include "tests/support/peers/PeerProcess.h"

#include <string>
#include <vector>

namespace zolbin::test {

// A temporary folder, removed with everything in it when destroyed.
class PeerFolder
{
public:
    PeerFolder();
    ~PeerFolder();
    PeerFolder(const PeerFolder&) = delete;
    PeerFolder& operator=(const PeerFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

class SnppPeer
{
public:
    SnppPeer();

    PeerProcess::State state() const { return process_.state(); }
    const std::string& problem() const { return process_.problem(); }
    std::uint16_t port() const { return process_.port(); }

    // Every command line received so far, each exactly as it arrived (CR LF included).
    std::vector<std::string> receivedLines() const;
    // Connections accepted so far.
    int sessions();

private:
    PeerFolder folder_;
    PeerProcess process_;
};

class SmtpPeer
{
public:
    struct Mail
    {
        std::string from;            // MAIL FROM, as the server parsed it
        std::vector<std::string> to; // RCPT TO
        std::string data;            // the DATA bytes, dot-stuffing undone
    };

    SmtpPeer() : SmtpPeer(std::vector<std::string>{}) {}
    // With options of smtp_peer.py (TLS, STARTTLS required, a login).
    explicit SmtpPeer(const std::vector<std::string>& options);

    PeerProcess::State state() const { return process_.state(); }
    const std::string& problem() const { return process_.problem(); }
    std::uint16_t port() const { return process_.port(); }

    // The mails accepted so far, in order.
    std::vector<Mail> mails() const;
    // The lines the peer printed after its ready line ("mail N", "auth MECHANISM accepted|refused").
    const std::vector<std::string>& events(int waitMs = 0) { return process_.events(waitMs); }

private:
    PeerFolder folder_;
    PeerProcess process_;
};

} // namespace zolbin::test
