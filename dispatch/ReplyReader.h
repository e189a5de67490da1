#pragma once
// Reading one server reply whole: a reply split across several TCP segments is one reply, and so is a
// multi-line reply ("250-first", "250 last").

#include <string>
#include <string_view>

namespace zolbin {

// The most a reply may hold (the reply buffer).
inline constexpr std::size_t ReplyBufferSize = 4096;

// True when the data ends with CR LF and its last line is not a continuation line (three digits and "-").
bool ReplyComplete(std::string_view data);

// Reads until the reply is complete, the buffer is full, or the peer closes. Returns the number of bytes
// read (the reply in `reply`), 0 when the peer closed before anything arrived, or -1 on a socket error
// (net::Winsock::LastError(); 10060 when the deadline passed first).
int ReadReply(int socket, std::string& reply, int deadlineMs);

} // namespace zolbin
