// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Net.h"

#include "platform/Deadline.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zolbin::net {

namespace {

// The error of the calling thread's last failed call, as WinSock keeps it per thread.
thread_local int t_lastError = 0;

// The session: whether it is started and the sockets it has made (a send's worker thread starts and ends
// it; the lock keeps a test's thread and a worker from tearing the set).
std::mutex g_sessionMutex;
std::atomic<bool> g_started{false};
std::set<int>& openSockets()
{
    static std::set<int> sockets;
    return sockets;
}
void noteSocket(int s)
{
    std::lock_guard lock(g_sessionMutex);
    openSockets().insert(s);
}
bool forgetSocket(int s)
{
    std::lock_guard lock(g_sessionMutex);
    return openSockets().erase(s) > 0;
}

// Blocks the calling thread until the socket is ready for the events or the deadline passes. Returns 1
// ready, 0 deadline passed, -1 poll failed (errno set).
int waitReady(int s, short events, int timeoutMs)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd p{s, events, 0};
        const int r = ::poll(&p, 1, MsLeft(deadline));
        if (r > 0)
            return 1;
        if (r < 0 && errno != EINTR)
            return -1;
        if (MsLeft(deadline) == 0)
            return 0;
    }
}

// Waits for a look-up running on a helper thread until it is done or the deadline passes; true when done.
template <typename State> bool waitLookUp(State& state, std::unique_lock<std::mutex>& lock)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(CurrentDeadlines().lookupMs);
    return state.doneSignal.wait_until(lock, deadline, [&] { return state.done; });
}

bool fail(int code)
{
    t_lastError = code;
    return false;
}

// The same for calls whose failure result is -1.
int failed(int code)
{
    t_lastError = code;
    return -1;
}

} // namespace

int WsaFromErrno(int err)
{
    switch (err) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EAGAIN:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
    case EPIPE:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    default:
        return 10000 + err;
    }
}

Deadlines& CurrentDeadlines()
{
    static Deadlines deadlines;
    return deadlines;
}

int Winsock::Startup()
{
    g_started = true;
    t_lastError = 0;
    return 0;
}

void Winsock::Cleanup()
{
    std::lock_guard lock(g_sessionMutex);
    for (int s : openSockets())
        ::close(s);
    openSockets().clear();
    g_started = false;
}

int Winsock::LastError()
{
    return t_lastError;
}

void Winsock::SetLastError(int code)
{
    t_lastError = code;
}

bool Winsock::Started()
{
    return g_started;
}

std::uint32_t InetAddr(const std::string& text)
{
    // Four decimal parts of 0..255 separated by points, nothing else.
    std::uint32_t result = 0;
    int parts = 0;
    std::size_t i = 0;
    while (parts < 4) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return InaddrNone;
        unsigned value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (value > 255 || digits > 3)
            return InaddrNone;
        result = (result << 8) | value;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return InaddrNone;
            ++i;
        }
    }
    return i == text.size() ? result : InaddrNone;
}

std::string InetNtoa(std::uint32_t hostOrder)
{
    return std::to_string((hostOrder >> 24) & 0xFF) + "." + std::to_string((hostOrder >> 16) & 0xFF) + "." +
           std::to_string((hostOrder >> 8) & 0xFF) + "." + std::to_string(hostOrder & 0xFF);
}

bool GetHostByName(const std::string& name, std::uint32_t& firstAddress)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return fail(Wsa::HostNotFound);

    // The resolver knows no deadline; it runs on a helper thread and the caller waits for it until the
    // look-up deadline. A look-up that outlives it is abandoned (its thread finishes on its own).
    struct State
    {
        std::mutex mutex;
        std::condition_variable doneSignal;
        bool done = false;
        int code = 0;
        std::uint32_t address = 0;
    };
    auto state = std::make_shared<State>();
    std::thread([state, name] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
        int code = 0;
        std::uint32_t address = 0;
        if (rc == 0 && list != nullptr) {
            sockaddr_in in{};
            std::memcpy(&in, list->ai_addr, sizeof in);
            address = ntohl(in.sin_addr.s_addr);
        } else if (rc == EAI_AGAIN) {
            code = Wsa::TryAgain;
        } else if (rc == EAI_FAIL) {
            code = Wsa::NoRecovery;
        } else if (rc == EAI_NODATA || rc == EAI_ADDRFAMILY) {
            code = Wsa::NoData;
        } else {
            code = Wsa::HostNotFound;
        }
        if (list != nullptr)
            ::freeaddrinfo(list);
        {
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->code = code;
            state->address = address;
        }
        state->doneSignal.notify_all();
    }).detach();

    std::unique_lock lock(state->mutex);
    if (!waitLookUp(*state, lock))
        return fail(Wsa::TimedOut);
    if (state->code != 0)
        return fail(state->code);
    firstAddress = state->address;
    return true;
}

namespace {

// Every address of host:port (any family), looked up on a helper thread until the look-up deadline.
// Returns 0 with the list, or a WinSock error number.
int lookUpAll(const std::string& host, std::uint16_t port, std::vector<sockaddr_storage>& out)
{
    if (host.empty() || host.find('\0') != std::string::npos)
        return Wsa::HostNotFound;
    struct State
    {
        std::mutex mutex;
        std::condition_variable doneSignal;
        bool done = false;
        int code = 0;
        std::vector<sockaddr_storage> addresses;
    };
    auto state = std::make_shared<State>();
    std::thread([state, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        addrinfo* list = nullptr;
        const std::string service = std::to_string(port);
        const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
        std::vector<sockaddr_storage> found;
        for (addrinfo* a = rc == 0 ? list : nullptr; a != nullptr; a = a->ai_next) {
            sockaddr_storage one{};
            std::memcpy(&one, a->ai_addr, std::min<std::size_t>(a->ai_addrlen, sizeof one));
            found.push_back(one);
        }
        if (list != nullptr)
            ::freeaddrinfo(list);
        {
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->code = rc == 0           ? 0
                          : rc == EAI_AGAIN ? Wsa::TryAgain
                          : rc == EAI_FAIL  ? Wsa::NoRecovery
                                            : Wsa::HostNotFound;
            state->addresses = std::move(found);
        }
        state->doneSignal.notify_all();
    }).detach();

    std::unique_lock lock(state->mutex);
    if (!waitLookUp(*state, lock))
        return Wsa::TimedOut;
    out = state->addresses;
    return state->code != 0 ? state->code : out.empty() ? Wsa::NoData : 0;
}

} // namespace

int ConnectHost(const std::string& host, std::uint16_t port)
{
    if (!g_started)
        return failed(Wsa::NotInitialised);
    std::vector<sockaddr_storage> addresses;
    if (const int code = lookUpAll(host, port, addresses); code != 0)
        return failed(code);
    int lastCode = Wsa::ConnectionRefused;
    for (const sockaddr_storage& to : addresses) {
        const int s = ::socket(to.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (s < 0) {
            lastCode = WsaFromErrno(errno);
            continue;
        }
        noteSocket(s);
        const socklen_t len = to.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        int code = 0;
        if (::connect(s, reinterpret_cast<const sockaddr*>(&to), len) != 0) {
            code = errno == EINPROGRESS ? 0 : WsaFromErrno(errno);
            if (code == 0) {
                const int ready = waitReady(s, POLLOUT, CurrentDeadlines().connectMs);
                int err = 0;
                socklen_t errLen = sizeof err;
                if (ready == 0)
                    code = Wsa::TimedOut;
                else if (ready < 0 || ::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &errLen) != 0)
                    code = WsaFromErrno(errno);
                else if (err != 0)
                    code = WsaFromErrno(err);
            }
        }
        if (code == 0)
            return s;
        lastCode = code;
        forgetSocket(s);
        ::close(s);
    }
    return failed(lastCode);
}

void Close(int s)
{
    if (forgetSocket(s))
        ::close(s);
}

int Socket()
{
    if (!g_started)
        return failed(Wsa::NotInitialised);
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (s < 0)
        return failed(WsaFromErrno(errno));
    noteSocket(s);
    return s;
}

int Connect(int s, std::uint32_t address, std::uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return 0;
    if (errno != EINPROGRESS)
        return failed(WsaFromErrno(errno));
    const int ready = waitReady(s, POLLOUT, CurrentDeadlines().connectMs);
    if (ready == 0)
        return failed(Wsa::TimedOut);
    if (ready < 0)
        return failed(WsaFromErrno(errno));
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return failed(WsaFromErrno(errno));
    if (err != 0)
        return failed(WsaFromErrno(err));
    return 0;
}

int GetSockName(int s, std::uint32_t& address, std::uint16_t& port)
{
    sockaddr_in local{};
    socklen_t len = sizeof local;
    if (::getsockname(s, reinterpret_cast<sockaddr*>(&local), &len) != 0)
        return failed(WsaFromErrno(errno));
    address = ntohl(local.sin_addr.s_addr);
    port = ntohs(local.sin_port);
    return 0;
}

int Send(int s, const char* data, int length)
{
    int sent = 0;
    while (sent < length) {
        const ssize_t n = ::send(s, data + sent, static_cast<std::size_t>(length - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int ready = waitReady(s, POLLOUT, CurrentDeadlines().sendMs);
            if (ready == 0)
                return failed(Wsa::TimedOut);
            if (ready < 0)
                return failed(WsaFromErrno(errno));
            continue;
        }
        return failed(WsaFromErrno(errno));
    }
    return sent;
}

int Recv(int s, char* buffer, int length, int waitMs)
{
    const int timeout = waitMs < 0 ? CurrentDeadlines().replyMs : waitMs;
    for (;;) {
        const ssize_t n = ::recv(s, buffer, static_cast<std::size_t>(length), 0);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return failed(WsaFromErrno(errno));
        const int ready = waitReady(s, POLLIN, timeout);
        if (ready == 0)
            return failed(Wsa::TimedOut);
        if (ready < 0)
            return failed(WsaFromErrno(errno));
    }
}

int WaitReady(int s, bool forWrite, int timeoutMs)
{
    const int ready = waitReady(s, forWrite ? POLLOUT : POLLIN, timeoutMs);
    if (ready < 0)
        t_lastError = WsaFromErrno(errno);
    return ready;
}

} // namespace zolbin::net
