// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keychain/KeychainStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <qt6keychain/keychain.h>

namespace zolbin {

namespace {

const char* const NoStoreText = "Хранилище паролей недоступно. Запустите хранилище паролей рабочего стола "
                                "(GNOME Keyring или KWallet) и повторите.";

bool sessionBusKnown()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

SecretStore::Answer noStore(const char* reason)
{
    return {SecretStore::Outcome::NoStore, {}, reason};
}

SecretStore::Answer answerOf(const QKeychain::Job& job)
{
    SecretStore::Answer answer;
    switch (job.error()) {
    case QKeychain::NoError:
        answer.outcome = SecretStore::Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        answer.outcome = SecretStore::Outcome::NotFound;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        answer.outcome = SecretStore::Outcome::NoStore;
        break;
    default:
        answer.outcome = SecretStore::Outcome::Failed;
        break;
    }
    // The library's own text is English: the operator is told in his words what to do instead.
    answer.reason = SecretStoreErrorText(static_cast<int>(job.error()));
    return answer;
}

// Makes the job (on the request's own thread, which then owns it) and, once the store answered, completes
// the answer from it (the secret of a read).
using MakeJob = std::function<QKeychain::Job*()>;
using Complete = std::function<void(QKeychain::Job&, SecretStore::Answer&)>;

// Runs the job on a thread of its own and waits for its answer at most `limit`. A job still running at the
// limit is dropped with its thread's event loop; its answer is not waited for.
SecretStore::Answer run(MakeJob make, Complete complete, std::chrono::milliseconds limit)
{
    struct State
    {
        std::mutex mutex;
        std::condition_variable answered;
        bool done = false;
        SecretStore::Answer answer;
    };
    auto state = std::make_shared<State>();
    auto* thread = new QThread;
    auto* context = new QObject;
    context->moveToThread(thread);
    // Deferred deletions still run once the thread's loop has stopped.
    QObject::connect(thread, &QThread::finished, context, &QObject::deleteLater);
    thread->start();
    QMetaObject::invokeMethod(
        context, [state, make = std::move(make), complete = std::move(complete), context] {
            QKeychain::Job* job = make();
            job->setAutoDelete(false);
            job->setParent(context);
            QObject::connect(job, &QKeychain::Job::finished, context, [state, complete, job] {
                SecretStore::Answer answer = answerOf(*job);
                if (answer.outcome == SecretStore::Outcome::Done)
                    complete(*job, answer);
                {
                    std::lock_guard lock(state->mutex);
                    state->answer = std::move(answer);
                    state->done = true;
                }
                state->answered.notify_all();
                QThread::currentThread()->quit();
            });
            job->start();
        });

    SecretStore::Answer answer;
    {
        std::unique_lock lock(state->mutex);
        if (state->answered.wait_for(lock, limit, [&] { return state->done; }))
            answer = state->answer;
        else
            answer = {SecretStore::Outcome::TimedOut,
                      {},
                      "Хранилище паролей не ответило вовремя. Проверьте, что оно запущено и не ждёт "
                      "пароля, и повторите."};
    }
    thread->quit();
    if (thread->wait(QDeadlineTimer(std::chrono::seconds(1))))
        delete thread;
    // else the thread is left to end on its own; its few bytes go with the process
    return answer;
}

} // namespace

std::string SecretStoreErrorText(int error)
{
    switch (error) {
    case QKeychain::NoError:
    case QKeychain::EntryNotFound:
        return {};
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        return NoStoreText;
    case QKeychain::AccessDeniedByUser:
        return "Доступ к хранилищу паролей не разрешён. Повторите и разрешите программе доступ, когда "
               "рабочий стол спросит.";
    case QKeychain::AccessDenied:
        return "Хранилище паролей заперто или отказало в доступе. Откройте его (войдите в связку ключей "
               "рабочего стола) и повторите.";
    case QKeychain::CouldNotDeleteEntry:
        return "Хранилище паролей не удалило запись. Повторите позже или удалите её в программе связки "
               "ключей рабочего стола.";
    default:
        return "Хранилище паролей ответило ошибкой. Проверьте, что служба хранилища паролей работает, и "
               "повторите.";
    }
}

SecretStore::Answer KeychainStore::read(const std::string& key)
{
    if (!sessionBusKnown())
        return noStore("Хранилище паролей недоступно: нет сеансовой шины D-Bus. Запустите программу в сеансе "
                       "рабочего стола.");
    if (QCoreApplication::instance() == nullptr)
        return noStore(NoStoreText);
    const QString name = QString::fromStdString(key);
    return run(
        [name] {
            auto* job = new QKeychain::ReadPasswordJob(QString::fromUtf8(SecretService));
            job->setKey(name);
            return job;
        },
        [](QKeychain::Job& job, Answer& answer) {
            answer.secret = static_cast<QKeychain::ReadPasswordJob&>(job).textData().toStdString();
        },
        limit_);
}

SecretStore::Answer KeychainStore::write(const std::string& key, const std::string& secret)
{
    if (!sessionBusKnown())
        return noStore("Хранилище паролей недоступно: нет сеансовой шины D-Bus. Запустите программу в сеансе "
                       "рабочего стола.");
    if (QCoreApplication::instance() == nullptr)
        return noStore(NoStoreText);
    const QString name = QString::fromStdString(key);
    const QString text = QString::fromStdString(secret);
    return run(
        [name, text] {
            auto* job = new QKeychain::WritePasswordJob(QString::fromUtf8(SecretService));
            job->setKey(name);
            job->setTextData(text);
            return job;
        },
        [](QKeychain::Job&, Answer&) {}, limit_);
}

} // namespace zolbin
