// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The socket layer the dispatch code was designed around (WinSock 1.1 calls and error numbers) on top of
// POSIX sockets. Failures return -1 (or false) and leave the WinSock error number in LastError() of the
// calling thread, so the program's table of socket error texts applies unchanged; a connection keeps the
// error of its own last failure (Link in platform/Tls).
//
// The calls block the thread that makes them (a send's worker, never the window's): look-up, connect,
// send and receive each wait until their deadline and then end with WSAETIMEDOUT (10060).
// Startup() opens a session that tracks every socket created; Cleanup() closes them all.

#include <array>
#include <cstdint>
#include <string>

namespace zolbin::net {

// WinSock error numbers the layer produces.
namespace Wsa {
inline constexpr int Interrupted = 10004;
inline constexpr int AccessDenied = 10013;
inline constexpr int InvalidArgument = 10022;
inline constexpr int TooManySockets = 10024;
inline constexpr int MessageTooLong = 10040;
inline constexpr int ConnectionReset = 10054;
inline constexpr int NotSocket = 10038;
inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int HostNotFound = 11001;
inline constexpr int TryAgain = 11002;
inline constexpr int NoRecovery = 11003;
inline constexpr int NoData = 11004;
inline constexpr int NotInitialised = 10093;
} // namespace Wsa

inline constexpr std::uint32_t InaddrNone = 0xFFFFFFFFu;

// The errno of a failed socket call -> the WinSock error number.
int WsaFromErrno(int err);

// Deadlines of the waits, in milliseconds.
struct Deadlines
{
    int lookupMs = 30000;
    int connectMs = 30000;
    int sendMs = 60000;
    int replyMs = 60000;
};
Deadlines& CurrentDeadlines(); // tests shorten them

class Winsock final
{
public:
    // Starts a session (version 1.1). Returns 0, or a WinSock error number.
    static int Startup();
    // Ends the session: closes every socket created since Startup().
    static void Cleanup();
    // The calling thread's last error.
    static int LastError();
    static void SetLastError(int code);
    static bool Started();
};

// A dotted IPv4 address -> the address in host order, or InaddrNone (as the classic call does, the
// dotted broadcast address 255.255.255.255 also gives InaddrNone).
std::uint32_t InetAddr(const std::string& text);

// "a.b.c.d" of an address in host order.
std::string InetNtoa(std::uint32_t hostOrder);

// Looks a host name up; on success stores the first IPv4 address (host order) and returns true.
bool GetHostByName(const std::string& name, std::uint32_t& firstAddress);

// Connects a TCP socket to host:port for any address family (a name, a dotted IPv4 address or an IPv6
// address without brackets), trying each address the look-up gives in turn. Returns the connected socket
// (closed by Cleanup() like the others), or -1 with LastError() set. The SNPP and SMTP connections keep
// the IPv4 calls above; this one serves peers that may be reached over IPv6.
int ConnectHost(const std::string& host, std::uint16_t port);

// Closes one socket of the session now.
void Close(int s);

// A TCP socket, or -1.
int Socket();

// Connects to address:port (host order; only the port's low 16 bits are used). 0 or -1.
int Connect(int s, std::uint32_t address, std::uint16_t port);

// The local end's address (host order) and port. 0 or -1.
int GetSockName(int s, std::uint32_t& address, std::uint16_t& port);

// Sends all of the bytes. Returns the count sent or -1.
int Send(int s, const char* data, int length);

// Receives what is there (waiting for at least one byte). Returns the count, 0 when the peer closed
// the connection, or -1. waitMs < 0 uses the reply deadline.
int Recv(int s, char* buffer, int length, int waitMs = -1);

// Waits until the socket can be read, or written when forWrite.
// Returns 1 ready, 0 when the deadline passed first, -1 with LastError() set.
int WaitReady(int s, bool forWrite, int timeoutMs);

} // namespace zolbin::net
