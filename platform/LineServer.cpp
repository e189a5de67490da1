// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LineServer.h"

#include "platform/Codepage.h"
#include "platform/Text.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace zolbin {

struct LineServer::Connection
{
    QTcpSocket* socket = nullptr;
    QTimer* idle = nullptr;
    std::unique_ptr<LineSession> session;
    std::string pending; // bytes of a line not yet ended
    bool closing = false;
};

namespace {

void writeLines(QTcpSocket& socket, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        const std::string wire = line + "\r\n";
        socket.write(wire.data(), static_cast<qint64>(wire.size()));
    }
}

} // namespace

LineServer::LineServer(LineSessionFactory factory, LineServerLimits limits, QObject* parent)
    : QObject(parent), factory_(std::move(factory)), limits_(std::move(limits)), server_(new QTcpServer(this))
{
    // Connections are counted and refused by the server itself, so the backlog stays the system's.
    connect(server_, &QTcpServer::newConnection, this, &LineServer::accept);
}

LineServer::~LineServer()
{
    // Aborted sockets tell their end at once: the list is taken first, so no drop touches it meanwhile.
    const std::vector<std::unique_ptr<Connection>> open = std::move(connections_);
    connections_.clear();
    for (const auto& connection : open)
        connection->socket->abort();
}

Status LineServer::listen(const std::string& host, std::uint16_t port)
{
    const QString name = host.empty() ? QStringLiteral("127.0.0.1") : QString::fromStdString(host);
    QHostAddress address;
    if (!address.setAddress(name))
        return Failure{0, tx("LineServer", "Адрес «%1» не IP-адрес").arg(host)};
    if (!server_->listen(address, port))
        return Failure{0, tx("LineServer", "Не открыть порт %1:%2: %3")
                              .arg(toCp1251(name))
                              .arg(static_cast<long long>(port))
                              .arg(toCp1251(server_->errorString()))};
    return {};
}

std::uint16_t LineServer::port() const
{
    return server_->serverPort();
}

int LineServer::connectionCount() const
{
    return static_cast<int>(connections_.size());
}

void LineServer::accept()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket); });
        if (connectionCount() >= limits_.maxConnections) {
            writeLines(*socket, {limits_.busyLine});
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        Connection& c = *connection;
        c.socket = socket;
        c.idle = new QTimer(socket);
        c.idle->setSingleShot(true);
        c.idle->setInterval(limits_.idleMs);
        const QHostAddress peer = socket->peerAddress();
        c.session = factory_(PeerAddress{peer.toString().toStdString(), peer.isLoopback()});
        connections_.push_back(std::move(connection));
        connect(c.idle, &QTimer::timeout, this, [this, &c] { closeLater(c, limits_.idleLine); });
        connect(socket, &QTcpSocket::readyRead, this, [this, &c] { readFrom(c); });
        writeLines(*socket, c.session->greeting());
        c.idle->start();
    }
}

void LineServer::readFrom(Connection& connection)
{
    if (connection.closing) {
        connection.socket->readAll();
        return;
    }
    connection.idle->start();
    const QByteArray bytes = connection.socket->readAll();
    connection.pending.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::size_t start = 0;
    for (std::size_t end; (end = connection.pending.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string_view line(connection.pending.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > limits_.maxLineLength)
            return closeLater(connection, limits_.tooLongLine);
        writeLines(*connection.socket, connection.session->lineReceived(line));
        if (connection.session->finished())
            return closeLater(connection, {});
    }
    connection.pending.erase(0, start);
    if (connection.pending.size() > limits_.maxLineLength + 1)
        closeLater(connection, limits_.tooLongLine);
}

void LineServer::closeLater(Connection& connection, const std::string& lastLine)
{
    if (connection.closing)
        return;
    connection.closing = true;
    connection.idle->stop();
    connection.pending.clear();
    if (!lastLine.empty())
        writeLines(*connection.socket, {lastLine});
    // The socket goes once its last bytes are written; its disconnected signal drops the connection.
    connection.socket->disconnectFromHost();
}

void LineServer::drop(QTcpSocket* socket)
{
    const auto it = std::find_if(connections_.begin(), connections_.end(),
                                 [socket](const auto& c) { return c->socket == socket; });
    if (it == connections_.end())
        return;
    (*it)->idle->stop();
    std::unique_ptr<Connection> gone = std::move(*it);
    connections_.erase(it);
    socket->deleteLater();
}

} // namespace zolbin
