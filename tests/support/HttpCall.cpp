// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpCall.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::test {

namespace {

std::size_t lengthOf(const std::string& head)
{
    for (std::size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
        if (strncasecmp(head.c_str() + at + 2, "Content-Length:", 15) == 0)
            return std::stoul(head.substr(at + 17));
    }
    return 0;
}

} // namespace

std::string HttpRequestText(const std::string& method, const std::string& target, const std::string& body,
                            const std::vector<std::string>& headers)
{
    std::string text = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    bool length = false;
    for (const std::string& header : headers) {
        text += header + "\r\n";
        length = length || strncasecmp(header.c_str(), "Content-Length:", 15) == 0;
    }
    if (!length && (!body.empty() || method == "POST"))
        text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return text + "\r\n" + body;
}

HttpConnection::HttpConnection(std::uint16_t port)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval wait{10, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

HttpConnection::~HttpConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

HttpResponse HttpConnection::call(const std::string& request)
{
    HttpResponse reply;
    if (fd_ < 0)
        return reply;
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t n = ::send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may answer and close before it has read everything
        sent += static_cast<std::size_t>(n);
    }
    std::size_t headEnd = std::string::npos;
    char buffer[16384];
    for (;;) {
        headEnd = pending_.find("\r\n\r\n");
        if (headEnd != std::string::npos &&
            pending_.size() >= headEnd + 4 + lengthOf(pending_.substr(0, headEnd)))
            break;
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return reply;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    reply.head = pending_.substr(0, headEnd);
    const std::size_t length = lengthOf(reply.head);
    reply.body = pending_.substr(headEnd + 4, length);
    pending_.erase(0, headEnd + 4 + length);
    if (reply.head.size() > 12)
        reply.status = std::stoi(reply.head.substr(9, 3));
    return reply;
}

HttpResponse HttpCall(std::uint16_t port, const std::string& request)
{
    HttpConnection connection(port);
    return connection.call(request);
}

} // namespace zolbin::test
