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
#include <chrono>
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

HttpReply replyOf(QNetworkReply* reply, bool timedOut)
{
    HttpReply out;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!timedOut && status.isValid()) {
        out.outcome = HttpReply::Outcome::Answered;
        out.status = status.toInt();
        out.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
        out.body = reply->readAll();
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
    http.setSslConfiguration(tlsConfiguration(request.caFile));
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Every request on a connection of its own: a kept connection would keep the trust it was opened with,
    // whatever the CA file says now.
    manager->clearConnectionCache();
    QNetworkReply* reply = manager->post(http, request.body);

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    auto timedOut = std::make_shared<bool>(false);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, timedOut] {
        *timedOut = true;
        reply->abort();
    });
    deadline->start(request.connectMs);
    const int replyMs = request.replyMs;
    QObject::connect(reply, &QNetworkReply::requestSent, deadline,
                     [deadline, replyMs] { deadline->start(replyMs); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, answer, timedOut] {
        answer->set_value(replyOf(reply, *timedOut));
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
