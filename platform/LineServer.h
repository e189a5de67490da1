// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small line-oriented TCP server: each connection gets a session of the caller's, which is fed the lines
// the client sends (without their CR LF) and answers with lines of its own. The server runs on the event
// loop of the thread that owns it and keeps its limits: the length of a line, the number of connections at
// once, and how long a connection may stay silent. Every refusal is one line of the protocol's (given in the
// limits) and the end of that connection, never of the server.

#include "platform/Result.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace zolbin {

// Where a connection comes from.
struct PeerAddress
{
    std::string address; // the client's address as text ("127.0.0.1", "::1", "10.0.0.5")
    bool loopback = false;
};

// One connection's dialogue, without sockets.
class LineSession
{
public:
    virtual ~LineSession() = default;
    // The lines sent as the connection opens.
    virtual std::vector<std::string> greeting() = 0;
    // The answer to one line; the connection ends after it once finished() says so.
    virtual std::vector<std::string> lineReceived(std::string_view line) = 0;
    virtual bool finished() const = 0;
};

using LineSessionFactory = std::function<std::unique_ptr<LineSession>(const PeerAddress&)>;

struct LineServerLimits
{
    std::size_t maxLineLength = 4096; // bytes of one line without its line end
    int maxConnections = 64;
    int idleMs = 300000; // a connection silent this long is closed
    // The lines the server sends before it closes a connection on a limit (the protocol's words).
    std::string busyLine;    // one connection too many
    std::string tooLongLine; // a line over the length
    std::string idleLine;    // silent too long
};

class LineServer final : public QObject
{
    Q_OBJECT
public:
    LineServer(LineSessionFactory factory, LineServerLimits limits, QObject* parent = nullptr);
    ~LineServer() override;

    // Listens on host:port ("127.0.0.1" when host is empty; port 0: a free one). A failure names the reason.
    Status listen(const std::string& host, std::uint16_t port);
    std::uint16_t port() const;
    int connectionCount() const;

private:
    struct Connection;
    void accept();
    void readFrom(Connection& connection);
    void closeLater(Connection& connection, const std::string& lastLine);
    void drop(QTcpSocket* socket);

    LineSessionFactory factory_;
    LineServerLimits limits_;
    QTcpServer* server_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

} // namespace zolbin
