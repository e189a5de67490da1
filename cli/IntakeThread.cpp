// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/IntakeThread.h"

#include "cli/DirectoryReader.h"
#include "cli/ExitStatus.h"

#include <QCoreApplication>
#include <utility>

namespace zolbin {

namespace {

// Before a page taken in is looked at: the settings and lists read again when one of their files changed
// since they were last read (a list that cannot be read now is told, and the lists stay as they were).
std::function<void()> directoryRefresher(Session& session, const WorkOptions& options, std::ostream& err,
                                         DirectoryRefresh refresh)
{
    return [&session, &options, &err, refresh]() mutable {
        try {
            if (refresh(session) && options.adjustSettings)
                options.adjustSettings(session);
        } catch (const CliError& error) {
            err << "zolbin-send: " << error.what() << '\n' << std::flush;
        }
    };
}

} // namespace

IntakeThread::IntakeThread(const DataFolder& folder) : session_(folder)
{
    thread_.setObjectName(QStringLiteral("intake"));
}

IntakeThread::~IntakeThread()
{
    stop();
}

void IntakeThread::start(const WorkOptions& options, std::ostream& err)
{
    DirectoryRefresh refresh;
    refresh(session_);
    if (options.adjustSettings)
        options.adjustSettings(session_);
    IntakeOptions how = IntakeOptionsOf(session_.settings);
    if (options.listenSnpp)
        how.snpp = *options.listenSnpp;
    if (options.listenHttp)
        how.http = *options.listenHttp;
    if (!how.wanted())
        return;
    how.refreshDirectory = directoryRefresher(session_, options, err, std::move(refresh));

    anchor_.moveToThread(&thread_);
    thread_.start();
    Status started;
    QMetaObject::invokeMethod(
        &anchor_,
        [&] {
            service_ = std::make_unique<IntakeService>(session_, std::move(how));
            started = service_->start();
            if (!started)
                service_.reset();
        },
        Qt::BlockingQueuedConnection);
    if (!started) {
        stop();
        throw UsageError(started.failure().shown().toStdString());
    }
    if (options.quiet)
        return;
    if (service_->snppPort() != 0)
        err << "zolbin-send: "
            << QCoreApplication::translate("WorkOutbox", "приём сообщений по SNPP, порт %1")
                   .arg(service_->snppPort())
                   .toStdString()
            << '\n';
    if (service_->httpPort() != 0)
        err << "zolbin-send: "
            << QCoreApplication::translate("WorkOutbox", "приём сообщений по HTTP, порт %1")
                   .arg(service_->httpPort())
                   .toStdString()
            << '\n';
    err << std::flush;
}

void IntakeThread::stop()
{
    if (!thread_.isRunning())
        return;
    // The listeners and the sink's outbox are closed on the thread they were opened on.
    QMetaObject::invokeMethod(
        &anchor_, [this] { service_.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

} // namespace zolbin
