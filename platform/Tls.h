// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLS over a connected socket of the socket layer (platform/Net), driven by OpenSSL: the client handshake
// with the server's name checked, then reads and writes. Every wait keeps the rules of the socket layer:
// it blocks the calling thread until its deadline, which ends it with std::errc::timed_out.
//
// A Link is what the dialogues read and write through: the plain socket, or the socket's TLS session
// once one is active.

#include "platform/Result.h"

#include <string>
#include <system_error>

struct ssl_st;
struct ssl_ctx_st;

namespace zolbin::net {

class TlsSession final
{
public:
    TlsSession();
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // The client handshake on the connected socket: TLS 1.2 or newer, the server certificate verified
    // against the system's CA store plus caFile (a PEM file; empty for none), the host name (or IPv4
    // address) checked and sent as SNI. A failure of TLS itself is FailureCode::Tls with a cp1251 text; a
    // failure of the socket (timed_out when the deadline passed) has an empty text, and its error is
    // Error() (the caller has the table of socket error texts).
    Status Handshake(int socket, const std::string& hostName, const std::string& caFile, int deadlineMs);

    bool Active() const { return ssl_ != nullptr && established_; }

    // As net::Send and net::Recv: the count, 0 for a closed connection (Recv), or -1 with the error.
    int Send(const char* data, int length, int sendMs, std::error_code& error);
    int Recv(char* buffer, int length, int waitMs, std::error_code& error);

    // The socket error of the last handshake that failed on its socket.
    const std::error_code& Error() const { return error_; }

private:
    void release();
    Failure socketFailure(std::errc code);

    ssl_ctx_st* ctx_ = nullptr;
    ssl_st* ssl_ = nullptr;
    int socket_ = -1;
    bool established_ = false;
    std::error_code error_;
};

// A connection as the dialogues use it. It carries the error of its own last failure.
struct Link
{
    int socket = -1;
    TlsSession* tls = nullptr; // used when it is active
    int sendMs = 60000;        // each wait for room to send
    std::error_code error;     // of the last Send or Recv that failed, or set by the reader of a reply

    int Send(const char* data, int length);
    int Recv(char* buffer, int length, int waitMs);
};

} // namespace zolbin::net
