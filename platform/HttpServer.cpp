// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HttpServer.h"

#include "platform/Codepage.h"
#include "platform/Text.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <QUrlQuery>
#include <algorithm>
#include <cctype>
#include <optional>

namespace zolbin {

namespace {

constexpr int LingerMs = 1000; // a refused request's last bytes are read this long before its connection ends
constexpr int CloseMs = 2000;  // a connection that does not end by itself this long after its close is cut

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const char* reasonPhrase(int status)
{
    static const std::pair<int, const char*> phrases[] = {{200, "OK"},
                                                          {202, "Accepted"},
                                                          {400, "Bad Request"},
                                                          {401, "Unauthorized"},
                                                          {404, "Not Found"},
                                                          {405, "Method Not Allowed"},
                                                          {408, "Request Timeout"},
                                                          {413, "Payload Too Large"},
                                                          {429, "Too Many Requests"},
                                                          {503, "Service Unavailable"}};
    for (const auto& [code, phrase] : phrases)
        if (code == status)
            return phrase;
    return "Error";
}

// The answer as the server writes it on a connection it then closes.
QByteArray closingAnswer(const HttpAnswer& answer)
{
    QByteArray wire = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reasonPhrase(answer.status) +
                      "\r\nContent-Type: " + QByteArray::fromStdString(answer.contentType) +
                      "\r\nContent-Length: " + QByteArray::number(static_cast<qint64>(answer.body.size())) +
                      "\r\nConnection: close\r\n";
    for (const auto& [name, value] : answer.headers)
        wire += QByteArray::fromStdString(name) + ": " + QByteArray::fromStdString(value) + "\r\n";
    return wire + "\r\n" + QByteArray::fromStdString(answer.body);
}

// The Content-Length a request's head names, if any.
std::optional<std::size_t> contentLength(std::string_view head)
{
    for (std::size_t start = head.find("\r\n"); start != std::string_view::npos;) {
        start += 2;
        const std::size_t end = head.find("\r\n", start);
        const std::string_view line = head.substr(start, end == std::string_view::npos ? end : end - start);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && sameName(line.substr(0, colon), "Content-Length")) {
            std::size_t value = 0;
            for (const char c : line.substr(colon + 1))
                if (c >= '0' && c <= '9')
                    value =
                        std::min<std::size_t>(value * 10 + static_cast<std::size_t>(c - '0'), SIZE_MAX / 20);
            return value;
        }
        start = end;
    }
    return std::nullopt;
}

// An IPv4 client of a dual-stack socket is told by its IPv4 address.
PeerAddress PeerOf(const QHostAddress& address)
{
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    const QHostAddress shown = v4 ? QHostAddress(ip) : address;
    return PeerAddress{shown.toString().toStdString(), shown.isLoopback()};
}

} // namespace

bool IsLoopbackAddress(const std::string& host)
{
    QHostAddress address;
    return host.empty() || (address.setAddress(QString::fromStdString(host)) && address.isLoopback());
}

std::string HttpRequest::header(std::string_view name) const
{
    const auto it = std::find_if(headers.begin(), headers.end(),
                                 [name](const auto& h) { return sameName(h.first, name); });
    return it == headers.end() ? std::string() : it->second;
}

const std::string* HttpRequest::queryItem(std::string_view name) const
{
    const auto it =
        std::find_if(query.begin(), query.end(), [name](const auto& q) { return q.first == name; });
    return it == query.end() ? nullptr : &it->second;
}

// One client's connection: it sees each piece of a request before Qt's server reads it, counts the head
// and the body against the limits and keeps the request's deadline. A refused connection answers once,
// reads what the client still sends for a moment (so the client reads the answer rather than a reset),
// and ends.
class HttpServer::Connection final : public QObject
{
public:
    Connection(QTcpSocket* socket, const HttpServerLimits& limits, QObject* server, std::shared_ptr<int> live)
        : QObject(socket), socket_(socket), limits_(limits), server_(server), live_(std::move(live))
    {
        ++*live_;
        setObjectName(Name);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &Connection::expired);
        connect(socket, &QIODevice::readyRead, this, &Connection::inspect);
        timer_.start(limits_.requestMs);
    }
    ~Connection() override { --*live_; }

    static inline const QString Name =
        QStringLiteral("HttpServer::Connection"); // its socket's child by this name

    bool refused() const { return refused_; }

    // A request is complete: it waits for its answer without a deadline of its own.
    void complete() { timer_.stop(); }

    // The handler has answered a request: the next one has its own time and limits.
    void answered()
    {
        head_.clear();
        headDone_ = false;
        body_ = 0;
        begun_ = false;
        timer_.start(limits_.requestMs);
    }

    void refuse(const HttpAnswer& answer)
    {
        if (refused_)
            return;
        refused_ = true;
        if (limits_.refused)
            limits_.refused(PeerOf(socket_->peerAddress()), answer);
        QObject::disconnect(socket_, &QIODevice::readyRead, server_, nullptr); // Qt's server reads no more
        socket_->write(closingAnswer(answer));
        timer_.start(LingerMs);
    }

private:
    void inspect()
    {
        if (refused_ || closing_) {
            socket_->readAll();
            return;
        }
        const QByteArray fresh = socket_->peek(socket_->bytesAvailable());
        if (fresh.isEmpty())
            return;
        begun_ = true;
        if (headDone_) {
            body_ += static_cast<std::size_t>(fresh.size());
        } else {
            head_.append(fresh.constData(), static_cast<std::size_t>(fresh.size()));
            const std::size_t end = head_.find("\r\n\r\n");
            if (end == std::string::npos || end > limits_.maxHead) {
                if (head_.size() > limits_.maxHead)
                    refuse(limits_.tooLarge);
                return;
            }
            headDone_ = true;
            body_ = head_.size() - end - 4;
            const std::optional<std::size_t> length = contentLength(std::string_view(head_).substr(0, end));
            head_.clear();
            if (length && *length > limits_.maxBody)
                return refuse(limits_.tooLarge);
        }
        if (body_ > limits_.maxBody)
            refuse(limits_.tooLarge);
    }

    void expired()
    {
        if (begun_ && !refused_ && !closing_)
            return refuse(limits_.tooSlow);
        if (closing_)
            return socket_->abort(); // its disconnected signal deletes it
        closing_ = true;
        connect(socket_, &QAbstractSocket::disconnected, socket_, &QObject::deleteLater);
        socket_->disconnectFromHost();
        if (socket_->state() == QAbstractSocket::UnconnectedState)
            socket_->deleteLater();
        else
            timer_.start(CloseMs);
    }

    QTcpSocket* socket_;
    const HttpServerLimits& limits_;
    QObject* server_;
    std::shared_ptr<int> live_;
    QTimer timer_;
    std::string head_; // the head of the request under way, until its end is seen
    bool headDone_ = false;
    std::size_t body_ = 0;
    bool begun_ = false;
    bool refused_ = false;
    bool closing_ = false;
};

// Qt's server: it parses the requests; each complete one goes to the handler.
class HttpServer::Core final : public QAbstractHttpServer
{
public:
    explicit Core(HttpHandler handler) : handler_(std::move(handler)) {}

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        auto* connection = static_cast<Connection*>(
            socket->findChild<QObject*>(Connection::Name, Qt::FindDirectChildrenOnly));
        if (connection != nullptr && connection->refused())
            return true; // answered already
        HttpRequest plain;
        plain.method = QVariant::fromValue(request.method()).toString().toUpper().toStdString();
        plain.path = request.url().path(QUrl::FullyDecoded).toStdString();
        for (const auto& [name, value] : request.query().queryItems(QUrl::FullyDecoded))
            plain.query.emplace_back(name.toStdString(), value.toStdString());
        for (const auto& [name, value] : request.headers())
            plain.headers.emplace_back(name.toStdString(), value.toStdString());
        plain.body = request.body().toStdString();
        plain.peer = PeerOf(request.remoteAddress());
        if (connection != nullptr)
            connection->complete();
        // The responder only keeps the socket's address: it is written to while the socket is there.
        auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
        const QPointer<QTcpSocket> alive(socket);
        const QPointer<Connection> owner(connection);
        handler_(plain, [responder, alive, owner](const HttpAnswer& answer) {
            if (alive.isNull() || alive->state() != QAbstractSocket::ConnectedState || owner.isNull() ||
                owner->refused())
                return;
            responder->writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(answer.status));
            responder->writeHeader("Content-Type", QByteArray::fromStdString(answer.contentType));
            responder->writeHeader("Content-Length",
                                   QByteArray::number(static_cast<qint64>(answer.body.size())));
            for (const auto& [name, value] : answer.headers)
                responder->writeHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
            responder->writeBody(QByteArray::fromStdString(answer.body));
            owner->answered();
        });
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}

private:
    HttpHandler handler_;
};

// The listening socket: it makes each connection's socket (TLS when configured), counts it against the
// limit and hands it to Qt's server once it is ready to be read.
class HttpServer::Listener final : public QTcpServer
{
public:
    Listener(const HttpServerLimits& limits, QObject* core) : limits_(limits), core_(core) {}

    std::optional<QSslConfiguration> tls;
    const std::shared_ptr<int> live = std::make_shared<int>(0);

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QTcpSocket* socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        auto* connection = new Connection(socket, limits_, core_, live);
        if (*live > limits_.maxConnections) {
            if (tls) {
                socket->abort();
                socket->deleteLater();
            } else {
                connection->refuse(limits_.busy);
            }
            return;
        }
        if (!tls)
            return addPendingConnection(socket);
        auto* secure = static_cast<QSslSocket*>(socket);
        secure->setSslConfiguration(*tls);
        connect(secure, &QSslSocket::encrypted, this, [this, secure] {
            addPendingConnection(secure);
            emit newConnection();
        });
        connect(secure, &QAbstractSocket::errorOccurred, secure, [secure] {
            if (!secure->isEncrypted()) {
                secure->abort();
                secure->deleteLater();
            }
        });
        secure->startServerEncryption();
    }

private:
    const HttpServerLimits& limits_;
    QObject* core_;
};

HttpServer::HttpServer(HttpHandler handler, HttpServerLimits limits, QObject* parent)
    : QObject(parent), limits_(std::move(limits)), core_(std::make_unique<Core>(std::move(handler)))
{
    listener_ = new Listener(limits_, core_.get());
}

HttpServer::~HttpServer()
{
    core_.reset(); // the listener and every connection are its children
}

Status HttpServer::useTls(const std::string& certFile, const std::string& keyFile)
{
    const auto read = [](const std::string& name) -> std::optional<QByteArray> {
        QFile file(QString::fromStdString(name));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    };
    const std::optional<QByteArray> certificate = read(certFile);
    const QList<QSslCertificate> chain =
        certificate ? QSslCertificate::fromData(*certificate, QSsl::Pem) : QList<QSslCertificate>();
    if (chain.isEmpty())
        return Failure{0, tx("HttpServer", "Сертификат «%1» не прочитан").arg(certFile)};
    const std::optional<QByteArray> keyText = read(keyFile);
    QSslKey key;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa})
        if (key.isNull() && keyText)
            key = QSslKey(*keyText, algorithm, QSsl::Pem);
    if (key.isNull())
        return Failure{0, tx("HttpServer", "Закрытый ключ «%1» не прочитан").arg(keyFile)};
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    listener_->tls = configuration;
    return {};
}

Status HttpServer::listen(const std::string& host, std::uint16_t port)
{
    const QString name = host.empty() ? QStringLiteral("127.0.0.1") : QString::fromStdString(host);
    QHostAddress address;
    if (!address.setAddress(name))
        return Failure{0, tx("LineServer", "Адрес «%1» не IP-адрес").arg(host)};
    if (!listener_->listen(address, port))
        return Failure{0, tx("LineServer", "Не открыть порт %1:%2: %3")
                              .arg(toCp1251(name))
                              .arg(static_cast<long long>(port))
                              .arg(toCp1251(listener_->errorString()))};
    core_->bind(listener_);
    return {};
}

std::uint16_t HttpServer::port() const
{
    return listener_->serverPort();
}

int HttpServer::connectionCount() const
{
    return *listener_->live;
}

} // namespace zolbin
