// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Http.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>

namespace zolbin::net {

namespace {

// The thread that carries out every request; its run() is the default event loop. It is made at the
// first request and stopped when the application object goes.
struct NetworkThread
{
    QThread* thread = nullptr;
    QObject* context = nullptr; // lives in the thread and owns the manager
    QNetworkAccessManager* manager = nullptr;
};

std::mutex networkMutex;
NetworkThread* network = nullptr;

void stopNetworkThread()
{
    const std::lock_guard lock(networkMutex);
    if (network == nullptr)
        return;
    QObject* context = network->context;
    QMetaObject::invokeMethod(
        context, [context] { delete context; }, Qt::BlockingQueuedConnection);
    network->thread->quit();
    network->thread->wait();
    delete network->thread;
    delete network;
    network = nullptr;
}

NetworkThread& networkThread()
{
    const std::lock_guard lock(networkMutex);
    if (network == nullptr) {
        auto* made = new NetworkThread;
        made->thread = new QThread;
        made->thread->setObjectName(QStringLiteral("zolbin-http"));
        made->thread->start();
        made->context = new QObject;
        made->context->moveToThread(made->thread);
        QMetaObject::invokeMethod(
            made->context,
            [made] {
                QNetworkProxyFactory::setUseSystemConfiguration(true);
                made->manager = new QNetworkAccessManager(made->context);
            },
            Qt::BlockingQueuedConnection);
        network = made;
        qAddPostRoutine(stopNetworkThread);
    }
    return *network;
}

QSslConfiguration tlsConfiguration(const std::string& caFile)
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> trusted = QSslConfiguration::systemCaCertificates();
    if (!caFile.empty())
        trusted += QSslCertificate::fromPath(QString::fromStdString(caFile), QSsl::Pem);
    tls.setCaCertificates(trusted);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return tls;
}

HttpReply::Outcome outcomeOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ContentReSendError: // the connection closed under the request (see BodyOnce)
        return HttpReply::Outcome::Refused;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::OperationCanceledError: // only our deadline cancels
        return HttpReply::Outcome::TimedOut;
    case QNetworkReply::SslHandshakeFailedError:
        return HttpReply::Outcome::Tls;
    default:
        return HttpReply::Outcome::Failed;
    }
}

// The request's body, read once. Qt sends a request again by itself when the connection closes before
// the answer; a body that cannot be read a second time stops that (the transfer fails instead), so that a
// server never gets the same request twice from one post. Before its first byte is read it starts over.
class BodyOnce final : public QIODevice
{
public:
    explicit BodyOnce(QByteArray body) : body_(std::move(body))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return body_.size() - at_; }
    bool reset() override { return at_ == 0; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, body_.size() - at_);
        std::memcpy(data, body_.constData() + at_, static_cast<std::size_t>(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray body_;
    qint64 at_ = 0;
};

// What happened to a request besides Qt's own error.
struct Progress
{
    bool timedOut = false;
    bool tooLarge = false;
    bool sent = false;
    QByteArray body; // what has arrived of the answer's body so far
};

HttpReply replyOf(QNetworkReply* reply, const Progress& progress)
{
    HttpReply out;
    out.requestSent = progress.sent;
    if (progress.tooLarge) {
        out.outcome = HttpReply::Outcome::TooLarge;
        out.error = "reply too large";
        return out;
    }
    const bool timedOut = progress.timedOut;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!timedOut && status.isValid()) {
        out.outcome = HttpReply::Outcome::Answered;
        out.status = status.toInt();
        out.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
        out.body = progress.body + reply->readAll();
        return out;
    }
    out.outcome = timedOut ? HttpReply::Outcome::TimedOut : outcomeOf(reply->error());
    out.error = reply->errorString().toStdString();
    return out;
}

// Runs in the network thread: starts the request, and keeps the deadline of its current stage.
void start(QNetworkAccessManager* manager, const HttpRequest& request,
           std::shared_ptr<std::promise<HttpReply>> answer)
{
    QNetworkRequest http(request.url);
    http.setHeader(QNetworkRequest::ContentTypeHeader, request.contentType);
    http.setHeader(QNetworkRequest::ContentLengthHeader, request.body.size());
    http.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true); // see BodyOnce
    http.setSslConfiguration(tlsConfiguration(request.caFile));
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Every request on a connection of its own: a kept connection would keep the trust it was opened with,
    // whatever the CA file says now.
    manager->clearConnectionCache();
    auto* body = new BodyOnce(request.body);
    QNetworkReply* reply = manager->post(http, body);
    body->setParent(reply);
    // Qt reads the answer on a thread of its own; with a bounded buffer it reads no further ahead of us
    // than that, so that a flood is cut at the limit below rather than after whatever came meanwhile.
    reply->setReadBufferSize(std::max<qint64>(request.maxReplyBytes, 1) + 1);

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    auto progress = std::make_shared<Progress>();
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, progress] {
        progress->timedOut = true;
        reply->abort();
    });
    deadline->start(request.connectMs);
    const int replyMs = request.replyMs;
    QObject::connect(reply, &QNetworkReply::requestSent, deadline, [deadline, replyMs, progress] {
        progress->sent = true;
        deadline->start(replyMs);
    });
    // An answer announced or arriving beyond the limit is not read on: a few hundred bytes are expected.
    const qint64 limit = request.maxReplyBytes;
    const auto tooLarge = [reply, progress, limit](qint64 received, qint64 total) {
        if (progress->tooLarge || (received <= limit && total <= limit))
            return;
        progress->tooLarge = true;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, tooLarge] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        tooLarge(0, length.isValid() ? length.toLongLong() : 0);
    });
    // The body is taken as it arrives (the progress signal is not emitted for each arrival), so that an
    // answer without end is seen as soon as it passes the limit.
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, progress, tooLarge] {
        progress->body += reply->readAll();
        tooLarge(progress->body.size(), 0);
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, answer, progress] {
        answer->set_value(replyOf(reply, *progress));
        reply->deleteLater();
    });
}

} // namespace

HttpReply HttpPost(const HttpRequest& request)
{
    NetworkThread& thread = networkThread();
    auto answer = std::make_shared<std::promise<HttpReply>>();
    std::future<HttpReply> result = answer->get_future();
    QNetworkAccessManager* manager = thread.manager;
    QMetaObject::invokeMethod(
        thread.context, [manager, request, answer] { start(manager, request, answer); },
        Qt::QueuedConnection);

    // The network thread keeps the deadlines; this wait only guards against a thread that never answers.
    const auto limit = std::chrono::milliseconds(request.connectMs) +
                       std::chrono::milliseconds(request.replyMs) + std::chrono::seconds(5);
    if (result.wait_for(limit) != std::future_status::ready) {
        HttpReply late;
        late.outcome = HttpReply::Outcome::TimedOut;
        late.error = "no answer";
        return late;
    }
    return result.get();
}

} // namespace zolbin::net
