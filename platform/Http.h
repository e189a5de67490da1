// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One HTTP(S) POST with Qt Network, for a caller that waits without an event loop. The requests are
// carried out by a thread of their own whose event loop owns the network access manager; the calling
// thread hands a request over and blocks until the answer or its deadline. TLS is verified against the
// system's CAs plus an optional CA file; the system's proxy settings are honoured.

#include <QByteArray>
#include <QUrl>
#include <string>

namespace zolbin::net {

struct HttpRequest
{
    QUrl url;
    QByteArray contentType;
    QByteArray body;
    std::string caFile;    // PEM file of further trusted CAs (UTF-8 path); empty = the system's only
    int connectMs = 30000; // until the request is sent
    int replyMs = 60000;   // from then until the whole answer is in
    qint64 maxReplyBytes = 64 * 1024; // the longest answer taken; the transfer ends as soon as more arrives
};

struct HttpReply
{
    enum class Outcome
    {
        Answered, // an HTTP answer came, whatever its status
        Refused,  // the connection was refused or the host is unreachable or unknown
        TimedOut, // a deadline passed
        Tls,      // the TLS handshake failed (an untrusted certificate among others)
        TooLarge, // the answer grew beyond maxReplyBytes
        Failed    // any other failure of the transfer
    };
    Outcome outcome = Outcome::Failed;
    // The whole request had left before the answer came or the transfer ended: the server may have acted
    // on it.
    bool requestSent = false;
    int status = 0;
    QByteArray reason;
    QByteArray body;
    std::string error; // UTF-8, when there was no answer
};

// Blocks the calling thread (any thread but the network thread) until the answer or the deadlines.
HttpReply HttpPost(const HttpRequest& request);

} // namespace zolbin::net
