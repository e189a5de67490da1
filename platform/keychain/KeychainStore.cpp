// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keychain/KeychainStore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace zolbin {

namespace {

bool sessionBusKnown()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

SecretStore::Answer noStore(const char* reason)
{
    return {SecretStore::Outcome::NoStore, {}, reason};
}

// Starts the job and waits for it in a local event loop, at most `limit`. A job still running at the limit
// is left to finish on its own and delete itself (or to go with the application object); its answer is
// not waited for.
template <typename Job> SecretStore::Answer run(Job* job, std::chrono::milliseconds limit)
{
    job->setAutoDelete(false);
    bool finished = false;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(limit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        job->setParent(QCoreApplication::instance());
        job->setAutoDelete(true);
        return {SecretStore::Outcome::TimedOut, {}, "хранилище паролей не ответило вовремя"};
    }
    SecretStore::Answer answer;
    switch (job->error()) {
    case QKeychain::NoError:
        answer.outcome = SecretStore::Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        answer.outcome = SecretStore::Outcome::NotFound;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        answer.outcome = SecretStore::Outcome::NoStore;
        answer.reason = "хранилище паролей недоступно: " + job->errorString().toStdString();
        break;
    default:
        answer.outcome = SecretStore::Outcome::Failed;
        answer.reason = "хранилище паролей: " + job->errorString().toStdString();
        break;
    }
    return answer;
}

} // namespace

SecretStore::Answer KeychainStore::read(const std::string& key)
{
    if (!sessionBusKnown())
        return noStore("хранилище паролей недоступно: нет сеансовой шины D-Bus");
    if (QCoreApplication::instance() == nullptr)
        return noStore("хранилище паролей недоступно");
    auto* job = new QKeychain::ReadPasswordJob(QString::fromUtf8(SecretService));
    job->setKey(QString::fromStdString(key));
    Answer answer = run(job, limit_);
    if (answer.outcome == Outcome::Done)
        answer.secret = job->textData().toStdString();
    if (answer.outcome != Outcome::TimedOut)
        delete job;
    return answer;
}

SecretStore::Answer KeychainStore::write(const std::string& key, const std::string& secret)
{
    if (!sessionBusKnown())
        return noStore("хранилище паролей недоступно: нет сеансовой шины D-Bus");
    if (QCoreApplication::instance() == nullptr)
        return noStore("хранилище паролей недоступно");
    auto* job = new QKeychain::WritePasswordJob(QString::fromUtf8(SecretService));
    job->setKey(QString::fromStdString(key));
    job->setTextData(QString::fromStdString(secret));
    Answer answer = run(job, limit_);
    if (answer.outcome != Outcome::TimedOut)
        delete job;
    return answer;
}

} // namespace zolbin
