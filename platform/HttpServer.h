// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small HTTP(S) server for requests taken in (Qt HTTP Server on the event loop of the thread that owns
// it): each complete request goes to the caller's handler as plain values, and its answer goes back when
// the handler gives it (so that a handler may answer several requests after one piece of work). The
// server keeps its limits before a request reaches the handler: the size of a body, the number of
// connections at once, and how long a request may take to arrive. A request over a limit gets the answer
// the limits give for it and its connection ends; nothing of it reaches the handler.

#include "platform/LineServer.h"
#include "platform/Result.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zolbin {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest
{
    std::string method; // "GET", "POST" …
    std::string path;   // decoded, without the query
    HttpFields query;   // decoded, UTF-8
    HttpFields headers; // as sent
    std::string body;
    PeerAddress peer;

    // The first header of the name (any case), or "".
    std::string header(std::string_view name) const;
    // The first query item of the name, or nothing.
    const std::string* queryItem(std::string_view name) const;
};

struct HttpAnswer
{
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    HttpFields headers; // besides the content's type and length
};

// Gives a request's answer, once, when the handler has it (at once, or later on the server's thread);
// nothing is written when the client has gone meanwhile.
using HttpReply = std::function<void(const HttpAnswer&)>;
using HttpHandler = std::function<void(const HttpRequest&, HttpReply)>;

struct HttpServerLimits
{
    std::size_t maxBody = 256 * 1024; // bytes of one request's body
    std::size_t maxHead = 16 * 1024;  // bytes of its request line and headers
    int maxConnections = 64;
    int requestMs = 10000; // a request must arrive whole this long after the connection or the last answer
    // What the server answers before it closes a connection on a limit.
    HttpAnswer tooLarge; // a body or a head over the limit
    HttpAnswer tooSlow;  // a request begun and not complete in time
    HttpAnswer busy;     // one connection too many
    // Told of each of these refusals, with the client's address.
    std::function<void(const PeerAddress&, const HttpAnswer&)> refused;
};

// True for an address of this machine's loopback ("127.0.0.1", "::1"; the empty host, which listens there).
bool IsLoopbackAddress(const std::string& host);

class HttpServer final : public QObject
{
    Q_OBJECT
public:
    HttpServer(HttpHandler handler, HttpServerLimits limits, QObject* parent = nullptr);
    ~HttpServer() override;

    // HTTPS with the certificate (PEM, the chain may follow it) and its private key (PEM, unencrypted).
    // Before listen(); a failure names the file and the reason.
    Status useTls(const std::string& certFile, const std::string& keyFile);
    // Listens on host:port ("127.0.0.1" when host is empty; port 0: a free one).
    Status listen(const std::string& host, std::uint16_t port);
    std::uint16_t port() const;
    int connectionCount() const;

    class Connection; // one client's connection while it lasts (its socket's child)

private:
    class Core;
    class Listener;
    HttpServerLimits limits_;
    std::unique_ptr<Core> core_;
    Listener* listener_ = nullptr;
};

} // namespace zolbin
