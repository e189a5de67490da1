// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading one server reply whole: a reply split across several TCP segments is one reply, and so is a
// multi-line reply ("250-first", "250 last"), however many lines it has.

#include "platform/Tls.h"

#include <string>
#include <string_view>

namespace zolbin {

// The most a reply may hold. No real server comes near it; a longer reply is a broken or hostile peer
// and ends the connection, so that a reply is never taken for the next one.
inline constexpr std::size_t MaxReplySize = 64 * 1024;

// True when the data ends with CR LF and its last line is not a continuation line (three digits and "-").
bool ReplyComplete(std::string_view data);

// Reads through the link (the plain socket or its TLS session) until the reply is complete or the peer
// closes. Returns the number of bytes read (the reply in `reply`), 0 when the peer closed before anything
// arrived, or -1 on a socket error, kept in the link (timed_out when the deadline passed first,
// message_size for a reply longer than MaxReplySize).
int ReadReply(net::Link& link, std::string& reply, int deadlineMs);
// The same on a plain socket.
int ReadReply(int socket, std::string& reply, int deadlineMs);

} // namespace zolbin
