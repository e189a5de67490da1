// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TCP sockets over POSIX for the dialogues. Every call that can fail gives its error to the caller as a
// std::error_code: a failed system call as its errno (std::system_category), a time-out as
// std::errc::timed_out, a failed name look-up as a LookUpError. The connection that failed keeps it (Link
// in platform/Tls); nothing is kept per thread or per process.
//
// The calls block the thread that makes them (a send's worker, never the window's): look-up, connect,
// send and receive each wait until the deadline they are given.

#include <cstdint>
#include <set>
#include <string>
#include <system_error>

namespace zolbin::net {

// Why a name look-up failed.
enum class LookUpError
{
    HostNotFound = 1,
    TryAgain,   // a passing failure of the name service
    NoRecovery, // the name service failed for good
    NoData      // the name is known but has no address
};
const std::error_category& LookUpCategory();
std::error_code make_error_code(LookUpError e);

inline constexpr std::uint32_t InaddrNone = 0xFFFFFFFFu;

// Deadlines of the waits, in milliseconds. Whoever runs a send owns its deadlines (tests shorten them).
struct Deadlines
{
    int lookupMs = 30000;
    int connectMs = 30000;
    int sendMs = 60000;
    int replyMs = 60000;
};

// The sockets a send command makes: each stays open until it is closed or the set ends (CloseAll(), or
// the set destroyed), whoever used it.
class Sockets final
{
public:
    Sockets() = default;
    ~Sockets() { CloseAll(); }
    Sockets(const Sockets&) = delete;
    Sockets& operator=(const Sockets&) = delete;

    // A TCP IPv4 socket of the set, or -1 with the error.
    int Socket(std::error_code& error);
    // Closes one socket of the set now.
    void Close(int s);
    void CloseAll();
    std::size_t Count() const { return open_.size(); }

private:
    std::set<int> open_;
};

// A dotted IPv4 address -> the address in host order, or InaddrNone (as the classic call does, the
// dotted broadcast address 255.255.255.255 also gives InaddrNone).
std::uint32_t InetAddr(const std::string& text);

// "a.b.c.d" of an address in host order.
std::string InetNtoa(std::uint32_t hostOrder);

// Looks a host name up within lookupMs; on success stores the first IPv4 address (host order) and
// returns true.
bool GetHostByName(const std::string& name, std::uint32_t& firstAddress, int lookupMs,
                   std::error_code& error);

// Connects a TCP socket to host:port for any address family (a name, a dotted IPv4 address or an IPv6
// address without brackets), trying each address the look-up gives in turn. Returns the connected socket,
// which the caller closes (CloseSocket), or -1 with the error. The SNPP and SMTP connections keep the IPv4
// calls above; this one serves peers that may be reached over IPv6.
int ConnectHost(const std::string& host, std::uint16_t port, const Deadlines& deadlines,
                std::error_code& error);
void CloseSocket(int s);

// Connects to address:port (host order) within connectMs. True, or false with the error.
bool Connect(int s, std::uint32_t address, std::uint16_t port, int connectMs, std::error_code& error);

// The local end's address (host order) and port; false when it cannot be told.
bool GetSockName(int s, std::uint32_t& address, std::uint16_t& port);

// Sends all of the bytes, each wait for room up to sendMs. Returns the count sent, or -1 with the error.
int Send(int s, const char* data, int length, int sendMs, std::error_code& error);

// Receives what is there, waiting up to waitMs for at least one byte. Returns the count, 0 when the peer
// closed the connection, or -1 with the error (timed_out when the wait ended first).
int Recv(int s, char* buffer, int length, int waitMs, std::error_code& error);

// Waits until the descriptor can be read, or written when forWrite.
// Returns 1 ready, 0 when the deadline passed first, -1 with the error.
int WaitReady(int fd, bool forWrite, int timeoutMs, std::error_code& error);

} // namespace zolbin::net

template <> struct std::is_error_code_enum<zolbin::net::LookUpError> : std::true_type
{
};
