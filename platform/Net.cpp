// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Net.h"

#include "platform/Deadline.h"

#include <algorithm>
#include <arpa/inet.h>
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
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zolbin::net {

namespace {

class LookUpCategoryImpl final : public std::error_category
{
public:
    const char* name() const noexcept override { return "zolbin.lookup"; }
    std::string message(int value) const override
    {
        switch (static_cast<LookUpError>(value)) {
        case LookUpError::HostNotFound:
            return "host not found";
        case LookUpError::TryAgain:
            return "temporary failure in name resolution";
        case LookUpError::NoRecovery:
            return "non-recoverable failure in name resolution";
        case LookUpError::NoData:
            return "no address for the name";
        }
        return "unknown look-up error";
    }
};

std::error_code systemError(int err)
{
    return {err, std::system_category()};
}

// Blocks the calling thread until the descriptor is ready for the events or the deadline passes. Returns
// 1 ready, 0 deadline passed, -1 poll failed (errno set).
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
template <typename State> bool waitLookUp(State& state, std::unique_lock<std::mutex>& lock, int lookupMs)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(lookupMs);
    return state.doneSignal.wait_until(lock, deadline, [&] { return state.done; });
}

// getaddrinfo's failure as the look-up's error.
std::error_code lookUpFailure(int rc)
{
    switch (rc) {
    case EAI_AGAIN:
        return LookUpError::TryAgain;
    case EAI_FAIL:
        return LookUpError::NoRecovery;
    default:
        return LookUpError::HostNotFound;
    }
}

bool fail(std::error_code& error, std::error_code code)
{
    error = code;
    return false;
}

// The same for calls whose failure result is -1.
int failed(std::error_code& error, std::error_code code)
{
    error = code;
    return -1;
}

const std::error_code timedOut = std::make_error_code(std::errc::timed_out);

} // namespace

const std::error_category& LookUpCategory()
{
    static const LookUpCategoryImpl category;
    return category;
}

std::error_code make_error_code(LookUpError e)
{
    return {static_cast<int>(e), LookUpCategory()};
}

int Sockets::Socket(std::error_code& error)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (s < 0)
        return failed(error, systemError(errno));
    open_.insert(s);
    return s;
}

void Sockets::Close(int s)
{
    if (open_.erase(s) > 0)
        ::close(s);
}

void Sockets::CloseAll()
{
    for (int s : open_)
        ::close(s);
    open_.clear();
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

bool GetHostByName(const std::string& name, std::uint32_t& firstAddress, int lookupMs, std::error_code& error)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return fail(error, LookUpError::HostNotFound);

    // The resolver knows no deadline; it runs on a helper thread and the caller waits for it until the
    // look-up deadline. A look-up that outlives it is abandoned (its thread finishes on its own).
    struct State
    {
        std::mutex mutex;
        std::condition_variable doneSignal;
        bool done = false;
        std::error_code code;
        std::uint32_t address = 0;
    };
    auto state = std::make_shared<State>();
    std::thread([state, name] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
        std::error_code code;
        std::uint32_t address = 0;
        if (rc == 0 && list != nullptr) {
            sockaddr_in in{};
            std::memcpy(&in, list->ai_addr, sizeof in);
            address = ntohl(in.sin_addr.s_addr);
        } else if (rc == EAI_NODATA || rc == EAI_ADDRFAMILY) {
            code = LookUpError::NoData;
        } else {
            code = lookUpFailure(rc);
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
    if (!waitLookUp(*state, lock, lookupMs))
        return fail(error, timedOut);
    if (state->code)
        return fail(error, state->code);
    firstAddress = state->address;
    return true;
}

namespace {

// Every address of host:port (any family), looked up on a helper thread until the look-up deadline.
// Returns no error with the list, or the look-up's error.
std::error_code lookUpAll(const std::string& host, std::uint16_t port, int lookupMs,
                          std::vector<sockaddr_storage>& out)
{
    if (host.empty() || host.find('\0') != std::string::npos)
        return LookUpError::HostNotFound;
    struct State
    {
        std::mutex mutex;
        std::condition_variable doneSignal;
        bool done = false;
        std::error_code code;
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
            state->code = rc == 0 ? std::error_code() : lookUpFailure(rc);
            state->addresses = std::move(found);
        }
        state->doneSignal.notify_all();
    }).detach();

    std::unique_lock lock(state->mutex);
    if (!waitLookUp(*state, lock, lookupMs))
        return timedOut;
    out = state->addresses;
    return state->code ? state->code : out.empty() ? make_error_code(LookUpError::NoData) : std::error_code();
}

// After a non-blocking connect began: waits for it until the deadline and gives its outcome.
std::error_code connected(int s, int connectMs)
{
    const int ready = waitReady(s, POLLOUT, connectMs);
    if (ready == 0)
        return timedOut;
    int err = 0;
    socklen_t errLen = sizeof err;
    if (ready < 0 || ::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &errLen) != 0)
        return systemError(errno);
    return err != 0 ? systemError(err) : std::error_code();
}

} // namespace

int ConnectHost(const std::string& host, std::uint16_t port, const Deadlines& deadlines,
                std::error_code& error)
{
    std::vector<sockaddr_storage> addresses;
    if (const std::error_code code = lookUpAll(host, port, deadlines.lookupMs, addresses))
        return failed(error, code);
    std::error_code lastCode = std::make_error_code(std::errc::connection_refused);
    for (const sockaddr_storage& to : addresses) {
        const int s = ::socket(to.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (s < 0) {
            lastCode = systemError(errno);
            continue;
        }
        const socklen_t len = to.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        std::error_code code;
        if (::connect(s, reinterpret_cast<const sockaddr*>(&to), len) != 0)
            code = errno == EINPROGRESS ? connected(s, deadlines.connectMs) : systemError(errno);
        if (!code)
            return s;
        lastCode = code;
        ::close(s);
    }
    return failed(error, lastCode);
}

void CloseSocket(int s)
{
    if (s >= 0)
        ::close(s);
}

bool Connect(int s, std::uint32_t address, std::uint16_t port, int connectMs, std::error_code& error)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return true;
    if (errno != EINPROGRESS)
        return fail(error, systemError(errno));
    if (const std::error_code code = connected(s, connectMs))
        return fail(error, code);
    return true;
}

bool GetSockName(int s, std::uint32_t& address, std::uint16_t& port)
{
    sockaddr_in local{};
    socklen_t len = sizeof local;
    if (::getsockname(s, reinterpret_cast<sockaddr*>(&local), &len) != 0)
        return false;
    address = ntohl(local.sin_addr.s_addr);
    port = ntohs(local.sin_port);
    return true;
}

int Send(int s, const char* data, int length, int sendMs, std::error_code& error)
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
            const int ready = waitReady(s, POLLOUT, sendMs);
            if (ready == 0)
                return failed(error, timedOut);
            if (ready < 0)
                return failed(error, systemError(errno));
            continue;
        }
        return failed(error, systemError(errno));
    }
    return sent;
}

int Recv(int s, char* buffer, int length, int waitMs, std::error_code& error)
{
    for (;;) {
        const ssize_t n = ::recv(s, buffer, static_cast<std::size_t>(length), 0);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return failed(error, systemError(errno));
        const int ready = waitReady(s, POLLIN, waitMs);
        if (ready == 0)
            return failed(error, timedOut);
        if (ready < 0)
            return failed(error, systemError(errno));
    }
}

int WaitReady(int fd, bool forWrite, int timeoutMs, std::error_code& error)
{
    const int ready = waitReady(fd, forWrite ? POLLOUT : POLLIN, timeoutMs);
    if (ready < 0)
        error = systemError(errno);
    return ready;
}

} // namespace zolbin::net
