// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WorkOutbox.h"

#include "cli/ConsoleHost.h"
#include "cli/DirectoryReader.h"
#include "cli/ExitStatus.h"
#include "cli/IntakeThread.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "dispatch/OutboxWorker.h"
#include "platform/Codepage.h"
#include "records/Session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <atomic>
#include <chrono>
#include <csignal>
#include <exception>
#include <optional>
#include <unistd.h>

namespace zolbin {

namespace {

// The worker at work, and the pipe that wakes its event loop: a signal handler may only write to it.
std::atomic<OutboxWorker*> runningWorker{nullptr};
std::atomic<int> wakeFd{-1};

extern "C" void onStopSignal(int)
{
    if (OutboxWorker* worker = runningWorker.load())
        worker->requestStop();
    if (const int fd = wakeFd.load(); fd >= 0) {
        const char byte = 1;
        (void)!write(fd, &byte, 1);
    }
}

// Sends each page on this thread through a console host, which tells its progress on the error stream.
class ConsolePages final : public OutboxWorker::Runner
{
public:
    ConsolePages(Session& session, const WorkOptions& options, std::ostream& err)
        : session_(session), options_(options), err_(err)
    {
    }

    void setWorker(OutboxWorker& worker) { worker_ = &worker; }
    std::exception_ptr error() const { return error_; }

    void roundStarts() override
    {
        try {
            // The companies as they are now: the directory may have changed since the page was queued.
            if (refresh_(session_) && options_.adjustSettings)
                options_.adjustSettings(session_);
        } catch (...) {
            fail(std::current_exception());
        }
    }

    void startPage(const OutboxPage& page) override
    {
        try {
            // Sent on the worker's thread: its steps go through the worker's own connection.
            SendOrder order = OrderOfPage(page, session_.providers,
                                          PlaceOf(session_.settings, session_.folder), worker_->box());
            ConsoleHost host(session_, page.lines, page.text, page.signatureBlocked, options_.quiet, false,
                             err_);
            host.setRecipient(!page.params.CurName.empty() ? page.params.CurName
                                                           : std::to_string(page.params.CurNumber));
            host.Deadlines = options_.deadlines;
            if (options_.prepareHost)
                options_.prepareHost(host);
            order.modems = modems_;
            SendJob job(std::move(order));
            job.runWith(host);
        } catch (...) {
            fail(std::current_exception());
        }
        worker_->pageDone();
    }

    // Also an error of the worker's own: the run ends with it.
    void fail(std::exception_ptr error)
    {
        if (!error_)
            error_ = error;
        worker_->stop();
    }

private:
    Session& session_;
    const WorkOptions& options_;
    std::ostream& err_;
    OutboxWorker* worker_ = nullptr;
    std::shared_ptr<ModemMemory> modems_ = std::make_shared<ModemMemory>();
    std::exception_ptr error_;
    DirectoryRefresh refresh_;
};

int work(Session& session, const WorkOptions& options, std::ostream& err)
{
    const auto say = [&](const QString& text) {
        if (!options.quiet)
            err << "zolbin-send: " << text.toStdString() << '\n';
    };
    ConsolePages pages(session, options, err);
    OutboxWorker::Options how(session.folder);
    const OutboxPlace place = PlaceOf(session.settings, session.folder);
    how.database = place.database;
    how.who = place.who;
    how.gates = session.settings.OutboxGates;
    how.keepDays = session.settings.OutboxKeepDays;
    how.follow = options.follow;
    how.untilEmpty = !options.follow;
    OutboxWorker worker(how, pages);
    pages.setWorker(worker);
    QEventLoop loop;
    bool told = false;
    QObject::connect(&worker, &OutboxWorker::turnBusy, [&] {
        say(QCoreApplication::translate(
            "WorkOutbox",
            "очередь сообщений обрабатывает другая программа (окно Zolbin Sender или служба); ожидание"));
    });
    QObject::connect(&worker, &OutboxWorker::unknownFound, [&](int count) {
        say(QCoreApplication::translate("WorkOutbox",
                                        "сообщений с неизвестным исходом (отправка была прервана): %1")
                .arg(count));
    });
    std::optional<std::chrono::steady_clock::time_point> awaySince;
    QObject::connect(&worker, &OutboxWorker::trouble, [&](const QString& text) {
        // Once the outbox cannot be worked it ends the run, unless following: a service keeps going,
        // the trouble told once and the outbox looked at again later. A shared outbox's server that went
        // away mid-run is waited for a while.
        const auto now = std::chrono::steady_clock::now();
        awaySince = worker.serverAway() ? awaySince.value_or(now) : std::optional<decltype(now)>{};
        if (!options.follow &&
            (!awaySince || now - *awaySince > std::chrono::milliseconds(ServerAwayWaitMs))) {
            pages.fail(std::make_exception_ptr(FileError(text.toStdString())));
            return;
        }
        if (!told)
            err << "zolbin-send: "
                << QCoreApplication::translate("WorkOutbox", "%1; ожидание").arg(text).toStdString() << '\n'
                << std::flush;
        told = true;
    });
    QObject::connect(&worker, &OutboxWorker::troubleOver, [&] {
        awaySince.reset();
        if (told)
            say(QCoreApplication::translate("WorkOutbox", "очередь сообщений снова доступна"));
        told = false;
    });
    QObject::connect(&worker, &OutboxWorker::failed, [&](const QString& text) {
        pages.fail(std::make_exception_ptr(FileError(text.toStdString())));
    });
    QObject::connect(&worker, &OutboxWorker::finished, &loop, &QEventLoop::quit);
    // Following: the listeners of pages taken in, on a thread of their own.
    IntakeThread intake(session.folder);
    if (options.follow)
        intake.start(options, err);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw FileError("pipe");
    QSocketNotifier stopNotifier(pipeFds[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &worker, [&] {
        char byte = 0;
        (void)!read(pipeFds[0], &byte, 1);
        worker.stop();
    });
    runningWorker = &worker;
    wakeFd = pipeFds[1];
    // A stop asked before the loop runs is seen at the first look.
    worker.start();
    loop.exec();
    runningWorker = nullptr;
    wakeFd = -1;
    stopNotifier.setEnabled(false);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (pages.error())
        std::rethrow_exception(pages.error());
    say(QCoreApplication::translate("WorkOutbox", "очередь обработана: отправлено %1, не отправлено %2")
            .arg(worker.sent())
            .arg(worker.notSent()));
    return worker.notSent() == 0 ? ExitStatus::Accepted : ExitStatus::NotAccepted;
}

} // namespace

void StopOutboxWork()
{
    onStopSignal(0);
}

int WorkOutbox(Session& session, const WorkOptions& options, std::ostream& err)
{
    const auto previousTerm = std::signal(SIGTERM, onStopSignal);
    const auto previousInt = std::signal(SIGINT, onStopSignal);
    struct Restore
    {
        decltype(previousTerm) term, interrupt;
        ~Restore()
        {
            std::signal(SIGTERM, term);
            std::signal(SIGINT, interrupt);
        }
    } restore{previousTerm, previousInt};
    return work(session, options, err);
}

} // namespace zolbin
