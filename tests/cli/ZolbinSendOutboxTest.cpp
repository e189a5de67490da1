// SPDX-License-Identifier: GPL-3.0-or-later
// zolbin-send and the outbox: pages queued and then worked, an outbox that cannot be written (or one of a
// newer program) stopping the send before anything goes, a send killed half-way left "outcome unknown" and
// never sent again, and two workers on one outbox sending each page once; a following worker outlasting a
// lock on the outbox and seen to run.
#include "cli/ExitStatus.h"
#include "platform/Net.h"
#include "records/OutboxLocks.h"
#include "records/SqlOutbox.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Polling.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::HasSubstr;

namespace {

ScriptedSession snppOk()
{
    return {{"220 SNPP ready\r\n"},
            {Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("221 OK\r\n")}};
}

class ZolbinSendOutboxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CopyCodeTables(dir.path());
        WriteSettings(dir.path());
    }

    CliRun run(std::vector<std::string> args)
    {
        files.write(dir.path());
        args.insert(args.begin(), {"--data-dir", dir.path()});
        return RunInProcess(args);
    }
    std::vector<OutboxPage> pages()
    {
        auto outbox = SqlOutbox::Open(dir.path() + "/" + OutboxFileName);
        EXPECT_TRUE(outbox);
        return outbox ? outbox.value()->Recent(0).value() : std::vector<OutboxPage>{};
    }
    QProcess* start(const QStringList& args)
    {
        auto* process = new QProcess;
        process->setWorkingDirectory(QString::fromStdString(dir.path()));
        process->start(QStringLiteral(ZOLBIN_SEND_EXECUTABLE),
                       QStringList{QStringLiteral("--data-dir"), QString::fromStdString(dir.path())} + args);
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }

    TempDataDir dir;
    DirectoryFiles files;
};

} // namespace

TEST_F(ZolbinSendOutboxTest, QueuedPagesWaitForTheWorkerWhichSendsEachOnce)
{
    ScriptedServer server({snppOk(), snppOk()});
    files.company("Beeper", Gate::SNPP, server.port());
    files.group(W("Дежурные"),
                {files.subscriber(W("Аня"), 111, "Beeper"), files.subscriber(W("Боря"), 222, "Beeper")});

    CliRun r = run({"--queue", "--group", "Дежурные", "Авария"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Сообщений поставлено в очередь: 2"));
    EXPECT_EQ(server.accepted(), 0);
    ASSERT_EQ(pages().size(), 2u);
    EXPECT_EQ(pages()[0].state, PageState::Queued);

    r = run({"--work-outbox"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    EXPECT_THAT(r.err, HasSubstr("очередь обработана: отправлено 2, не отправлено 0"));
    EXPECT_THAT(r.err, HasSubstr("Боря: ")); // each page's progress names its recipient
    EXPECT_EQ(server.accepted(), 2);
    for (const OutboxPage& page : pages())
        EXPECT_EQ(page.state, PageState::Sent);
    EXPECT_EQ(run({"--work-outbox"}).status, ExitStatus::Accepted);
    EXPECT_EQ(server.accepted(), 2);
}

TEST_F(ZolbinSendOutboxTest, AnOutboxThatCannotBeWrittenStopsTheSendBeforeAnythingGoes)
{
    // Nothing listens: a page that got as far as the network would end with status 1, not 3.
    files.company("Beeper", Gate::SNPP, ScriptedServer::closedPort());
    files.subscriber(W("Аня"), 111, "Beeper");
    files.write(dir.path());
    const std::vector<std::string> page = {"--data-dir", dir.path(), "--to", "Аня", "Авария"};

    {
        FileSizeLimit full(0);
        ASSERT_TRUE(full.active());
        const CliRun r = RunInProcess(page);
        EXPECT_EQ(r.status, ExitStatus::FileError) << r.err;
        EXPECT_THAT(r.err, HasSubstr("Очередь сообщений недоступна"));
    }
    std::filesystem::remove(dir.path() + "/" + OutboxFileName);
    EXPECT_TRUE(RunUnprivileged([&] {
        ::chmod(dir.path().c_str(), 0555);
        const int status = RunInProcess(page).status;
        ::chmod(dir.path().c_str(), 0755);
        return status == ExitStatus::FileError;
    }));
    dir.write(OutboxFileName, std::string(4096, 'x'));
    const CliRun damaged = RunInProcess(page);
    EXPECT_EQ(damaged.status, ExitStatus::FileError);
    EXPECT_THAT(damaged.err, HasSubstr("Outbox.db.bad"));
    EXPECT_TRUE(dir.exists("Outbox.db.bad"));

    // An outbox a newer program wrote is left to it as it is.
    ASSERT_TRUE(SqlOutbox::Open(dir.path() + "/" + OutboxFileName));
    {
        QSqlDatabase newer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        newer.setDatabaseName(QString::fromStdString(dir.path() + "/" + OutboxFileName));
        ASSERT_TRUE(
            newer.open() &&
            QSqlQuery(newer).exec(
                QStringLiteral("UPDATE schema_version SET version = %1").arg(SqlOutbox::SchemaVersion + 1)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    const std::string before = dir.read(OutboxFileName);
    const CliRun refused = RunInProcess(page);
    EXPECT_EQ(refused.status, ExitStatus::FileError);
    EXPECT_THAT(refused.err, HasSubstr("более новой версией программы"));
    EXPECT_EQ(dir.read(OutboxFileName), before);
}

TEST_F(ZolbinSendOutboxTest, ASendKilledHalfWayIsOfUnknownOutcomeAndNeverSentAgain)
{
    // The server takes the page's first line and then says nothing.
    ScriptedServer server(
        {{{"220 SNPP ready\r\n"}, {Reply("250 OK\r\n"), ScriptedReply{{}, true, false, false}}}});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber(W("Аня"), 111, "Beeper");
    files.write(dir.path());

    std::unique_ptr<QProcess> sender(
        start({QStringLiteral("--to"), QString::fromUtf8("Аня"), QStringLiteral("Авария")}));
    ASSERT_TRUE(waitFor(
        [&] { return !server.received().empty() && server.received()[0].find("MESS") != std::string::npos; },
        20000));
    sender->kill(); // SIGKILL
    ASSERT_TRUE(sender->waitForFinished(10000));
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(pages()[0].state, PageState::Sending);

    const CliRun worker = run({"--work-outbox"});
    EXPECT_EQ(worker.status, ExitStatus::NotAccepted) << worker.err;
    EXPECT_THAT(worker.err, HasSubstr("сообщений с неизвестным исходом"));
    EXPECT_EQ(pages()[0].state, PageState::Unknown);
    EXPECT_EQ(server.accepted(), 1);
}

TEST_F(ZolbinSendOutboxTest, TwoWorkersOnOneOutboxSendEachPageOnce)
{
    ScriptedServer server({snppOk(), snppOk(), snppOk(), snppOk(), snppOk(), snppOk()});
    files.company("Beeper", Gate::SNPP, server.port());
    files.group(W("Все"), {files.subscriber(W("Аня"), 1, "Beeper"), files.subscriber(W("Боря"), 2, "Beeper"),
                           files.subscriber(W("Вера"), 3, "Beeper")});
    ASSERT_EQ(run({"--queue", "--group", "Все", "Сбор"}).status, ExitStatus::Accepted);

    std::unique_ptr<QProcess> first(start({QStringLiteral("--work-outbox")}));
    std::unique_ptr<QProcess> second(start({QStringLiteral("--work-outbox")}));
    ASSERT_TRUE(first->waitForFinished(30000));
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(first->exitCode(), ExitStatus::Accepted);
    EXPECT_EQ(second->exitCode(), ExitStatus::Accepted);
    EXPECT_EQ(server.accepted(), 3);
    for (const OutboxPage& page : pages())
        EXPECT_EQ(page.state, PageState::Sent);
}

// Another program holds the outbox's write lock longer than the busy wait (10 s): a following worker
// says so once, waits, and sends the page queued once the lock is gone.
TEST_F(ZolbinSendOutboxTest, AFollowingWorkerOutlastsAnOutboxLockedByAnotherProgram)
{
    ScriptedServer server({snppOk()});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber(W("Аня"), 111, "Beeper");
    files.write(dir.path());
    std::unique_ptr<QProcess> worker(
        start({QStringLiteral("--work-outbox"), QStringLiteral("--follow"), QStringLiteral("--quiet")}));
    ASSERT_TRUE(waitFor([&] { return dir.exists(".outbox.lock"); }, 20000)); // at work
    QByteArray told;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(QString::fromStdString(dir.path() + "/" + OutboxFileName));
        ASSERT_TRUE(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        const auto tellsOfIt = [&] {
            worker->waitForReadyRead(50);
            told += worker->readAllStandardError();
            return told.contains("недоступна");
        };
        EXPECT_TRUE(waitFor(tellsOfIt, 30000));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    ASSERT_EQ(run({"--queue", "--to", "Аня", "Авария"}).status, ExitStatus::Accepted);
    EXPECT_TRUE(waitFor([&] { return server.accepted() == 1; }, 30000)) << told.toStdString();
    worker->terminate();
    ASSERT_TRUE(worker->waitForFinished(30000));
    told += worker->readAllStandardError();
    EXPECT_EQ(worker->exitCode(), ExitStatus::Accepted) << told.toStdString();
    EXPECT_EQ(told.count("недоступна"), 1) << told.toStdString();
}

TEST_F(ZolbinSendOutboxTest, AFollowingWorkerIsSeenToRunUntilItStops)
{
    files.write(dir.path());
    EXPECT_FALSE(OutboxFollowerRunning(dir.folder()));
    std::unique_ptr<QProcess> service(start({QStringLiteral("--work-outbox"), QStringLiteral("--follow")}));
    EXPECT_TRUE(waitFor([this] { return OutboxFollowerRunning(dir.folder()); }, 10000));
    service->terminate(); // SIGTERM, as systemd stops it
    ASSERT_TRUE(service->waitForFinished(10000));
    EXPECT_FALSE(OutboxFollowerRunning(dir.folder()));
}
