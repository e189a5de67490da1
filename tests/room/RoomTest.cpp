// SPDX-License-Identifier: GPL-3.0-or-later
// A room on one PostgreSQL outbox: two desks queue pages from data folders of their own, a gateway
// machine's workers send them to an SNPP peer of ours. The server is PostgreSQL 15 of this system, made
// for this run by pg_virtualenv (which runs this program and drops the server afterwards); each scenario
// has a database of its own. Its address names no password: libpq finds it where pg_virtualenv put it.
#include "cli/DirectoryReader.h"
#include "cli/ExitStatus.h"
#include "directory/Settings.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/SendController.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"
#include "records/SqlOutbox.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::HasSubstr;

namespace {

struct Scenario
{
    const char* name;
    int pagesPerDesk;
    int gatewayWorkers;
    bool workerDiesMidPage; // a worker claims the oldest page and vanishes before its lease runs out
    bool newerSchema;       // the database holds the tables of a newer program
    bool serverRestarted;   // the server stops and starts again while the gateway's workers send
    bool serverAwayAtDesks; // the desks queue while the server is down; a move of one page was cut off
    bool directFromDeskB;   // desk B, without the gate, sends one more page itself and waits for its end
    int sentAtPeer;
    int unknown;
};

// Stops or starts the server pg_virtualenv made for this run.
void cluster(const char* action)
{
    QProcess ctl;
    ctl.start(QStringLiteral("pg_ctlcluster"),
              {qEnvironmentVariable("PGVERSION"), QStringLiteral("regress"), QLatin1String(action)});
    ASSERT_TRUE(ctl.waitForFinished(60000));
    ASSERT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
}

// A statement on the server's database `db` as its owner.
QVariant onServer(const std::string& db, const std::string& sql)
{
    const QString name = QStringLiteral("maintenance");
    QVariant result;
    {
        QSqlDatabase conn = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        conn.setConnectOptions(QStringLiteral("dbname=") + QString::fromStdString(db));
        EXPECT_TRUE(conn.open()) << conn.lastError().text().toStdString();
        QSqlQuery query(conn);
        EXPECT_TRUE(query.exec(QString::fromStdString(sql)))
            << sql << ": " << query.lastError().text().toStdString();
        if (query.next())
            result = query.value(0);
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

std::string address(const std::string& db)
{
    return "postgresql://" + qEnvironmentVariable("PGUSER").toStdString() + "@" +
           qEnvironmentVariable("PGHOST").toStdString() + ":" + qEnvironmentVariable("PGPORT").toStdString() +
           "/" + db + "?sslmode=disable";
}

// slow: the greeting comes a character at a time, so that a page takes about half a second.
ScriptedSession snppOk(bool slow = false)
{
    std::vector<std::string> greeting{"220 SNPP ready\r\n"};
    if (slow) {
        greeting.clear();
        for (const char c : std::string("220 SNPP ready\r\n"))
            greeting.emplace_back(1, c);
    }
    return {greeting, {Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("221 OK\r\n")}};
}

// A data folder: the directory with the company "Пейджер" on SNPP at the port, and the desk's name.
void prepare(const TempDataDir& dir, std::uint16_t port, const std::string& desk)
{
    CopyCodeTables(dir.path());
    WriteSettings(dir.path());
    ASSERT_TRUE(ProfileFile(dir.path() + "/" + SettingsFileName).writeString(SectionOutbox, "Desk", desk));
    DirectoryFiles files;
    files.company(W("Пейджер"), Gate::SNPP, port);
    files.subscriber(W("Петров"), 1001, W("Пейджер"));
    files.write(dir.path());
}

std::unique_ptr<QProcess> start(const std::string& folder, const std::vector<std::string>& args)
{
    auto process = std::make_unique<QProcess>();
    QStringList list{QStringLiteral("--data-dir"), QString::fromStdString(folder)};
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    process->start(QStringLiteral(ZOLBIN_SEND_EXECUTABLE), list);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
}

class RoomTest : public ::testing::TestWithParam<Scenario>
{
};

TEST_P(RoomTest, EachPageOnceAtThePeer)
{
    const Scenario& s = GetParam();
    static int databases = 0;
    const std::string db = "room" + std::to_string(++databases);
    onServer("postgres", "CREATE DATABASE " + db);
    const std::string uri = address(db);

    const int pages = 2 * s.pagesPerDesk + (s.directFromDeskB ? 1 : 0);
    ScriptedServer peer(
        std::vector<ScriptedSession>(static_cast<std::size_t>(pages), snppOk(s.serverRestarted)));
    TempDataDir deskA, deskB, gateway;
    prepare(deskA, peer.port(), "desk-a");
    prepare(deskB, peer.port(), "desk-b");
    // The gateway's own record of the company points nowhere: the page goes as the desk captured it.
    prepare(gateway, ScriptedServer::closedPort(), "gw");

    if (s.newerSchema) {
        ASSERT_TRUE(SqlOutbox::OpenShared(uri, {}));
        onServer(db, "UPDATE schema_version SET version = 99");
    }
    if (s.serverAwayAtDesks) {
        ASSERT_TRUE(SqlOutbox::OpenShared(uri, {})); // the tables made while the server is there
        cluster("stop");
    }
    for (int i = 0; i < s.pagesPerDesk; ++i)
        for (const TempDataDir* desk : {&deskA, &deskB}) {
            const std::string text =
                "page " + desk->path().substr(desk->path().size() - 6) + " " + std::to_string(i);
            const CliRun queued = RunExecutable(
                {"--data-dir", desk->path(), "--outbox", uri, "--queue", "--to", "Петров", text},
                desk->path());
            if (s.newerSchema) {
                EXPECT_EQ(queued.status, ExitStatus::FileError);
                EXPECT_THAT(queued.err, HasSubstr("база записана более новой версией программы (версия 99"));
            } else {
                ASSERT_EQ(queued.status, ExitStatus::Accepted) << queued.err;
                EXPECT_EQ(queued.err.find("Общая очередь недоступна: сообщение в очереди этого места\n") !=
                              std::string::npos,
                          s.serverAwayAtDesks)
                    << queued.err;
            }
        }
    if (s.serverAwayAtDesks) {
        cluster("start");
        // A move cut off after the shared outbox took a page and before the desk let it go.
        auto own = SqlOutbox::Open(deskA.path() + "/" + OutboxFileName);
        auto shared = SqlOutbox::OpenShared(uri, {});
        ASSERT_TRUE(own && shared);
        ASSERT_EQ(own.value()->MarkMoving().value(), s.pagesPerDesk);
        ASSERT_TRUE(shared.value()->AddMoved(own.value()->MovingPages().value().front()));
    }
    if (s.newerSchema) {
        EXPECT_EQ(onServer(db, "SELECT version FROM schema_version").toInt(), 99);
        EXPECT_EQ(onServer(db, "SELECT COUNT(*) FROM outbox_pages").toInt(), 0);
        return;
    }
    if (s.workerDiesMidPage) {
        auto dying = SqlOutbox::OpenShared(uri, {"gw", "gw/dead", 300});
        ASSERT_TRUE(dying);
        ASSERT_EQ(dying.value()->ClaimDue({}).value().size(), 1u);
        dying.value().reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    // A desk without the gate sends none of them (what it kept while the server was away it moves into
    // the shared outbox); the gateway's workers send them all between them.
    for (const TempDataDir* deskDir : {&deskA, &deskB}) {
        const CliRun desk = RunExecutable(
            {"--data-dir", deskDir->path(), "--outbox", uri, "--work-outbox", "--gates", "smtp,wctp"},
            deskDir->path());
        // Any worker's look makes a page of a lapsed lease unknown (and says so by its status).
        EXPECT_EQ(desk.status,
                  s.unknown > 0 && deskDir == &deskA ? ExitStatus::NotAccepted : ExitStatus::Accepted)
            << desk.err;
        if (s.serverAwayAtDesks) {
            auto own = SqlOutbox::Open(deskDir->path() + "/" + OutboxFileName);
            ASSERT_TRUE(own);
            EXPECT_EQ(own.value()->Unfinished().value() + own.value()->MovingPages().value().size(), 0u);
        }
    }
    EXPECT_EQ(peer.accepted(), 0);
    std::unique_ptr<QProcess> direct;
    if (s.directFromDeskB) {
        ASSERT_TRUE(
            ProfileFile(deskB.path() + "/" + SettingsFileName).writeString(SectionOutbox, "Gates", "smtp"));
        direct = start(deskB.path(), {"--outbox", uri, "--to", "Петров", "direct"});
        for (int i = 0; i < 1000 && onServer(db, "SELECT COUNT(*) FROM outbox_pages").toInt() < pages; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::unique_ptr<QProcess>> workers;
    for (int w = 0; w < s.gatewayWorkers; ++w)
        workers.push_back(
            start(gateway.path(), {"--outbox", uri, "--work-outbox", "--gates", "snpp,sms,tap"}));
    if (s.serverRestarted) {
        // While the workers are under way: a page of theirs loses the server between its bytes.
        for (int i = 0; i < 1000 && peer.accepted() < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cluster("stop");
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        cluster("start");
    }
    for (auto& worker : workers) {
        ASSERT_TRUE(worker->waitForFinished(60000));
        EXPECT_EQ(worker->exitCode(), ExitStatus::Accepted) << worker->readAllStandardError().toStdString();
    }

    if (direct) {
        ASSERT_TRUE(direct->waitForFinished(60000));
        EXPECT_EQ(direct->exitCode(), ExitStatus::Accepted);
        EXPECT_THAT(direct->readAllStandardError().toStdString(), HasSubstr("ожидание их исхода"));
    }
    std::map<std::string, int> atPeer;
    for (const std::string& session : peer.received())
        if (const std::size_t mess = session.find("MESS "); mess != std::string::npos)
            ++atPeer[session.substr(mess + 5, session.find("\r\n", mess) - mess - 5)];
    EXPECT_EQ(static_cast<int>(atPeer.size()), s.sentAtPeer);
    for (const auto& [text, times] : atPeer)
        EXPECT_EQ(times, 1) << text;

    const CliRun listed =
        RunExecutable({"--data-dir", gateway.path(), "--outbox", uri, "--list", "outbox"}, gateway.path());
    ASSERT_EQ(listed.status, ExitStatus::Accepted) << listed.err;
    int sent = 0, unknown = 0;
    std::map<std::string, int> desks;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        ASSERT_GE(f.size(), 8u) << line;
        EXPECT_EQ(f[2], "Петров");
        EXPECT_EQ(f[3], "Пейджер");
        ++desks[f[6]];
        if (f[1] == "sent") {
            ++sent;
            EXPECT_THAT(f[7], HasSubstr("gw/"));
        } else if (f[1] == "unknown") {
            ++unknown;
            EXPECT_EQ(f[7], "gw/dead");
        }
    }
    EXPECT_EQ(sent, s.sentAtPeer);
    EXPECT_EQ(unknown, s.unknown);
    EXPECT_EQ(desks, (std::map<std::string, int>{{"desk-a", s.pagesPerDesk},
                                                 {"desk-b", s.pagesPerDesk + (s.directFromDeskB ? 1 : 0)}}));
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, RoomTest,
    ::testing::Values(Scenario{"TwoDesksTwoGatewayWorkers", 4, 2, false, false, false, false, true, 9, 0},
                      Scenario{"WorkerKilledMidPage", 1, 1, true, false, false, false, false, 1, 1},
                      Scenario{"NewerSchemaRefused", 1, 1, false, true, false, false, false, 0, 0},
                      Scenario{"ServerRestartedMidRun", 3, 2, false, false, true, false, false, 6, 0},
                      Scenario{"DesksQueueWhileTheServerIsAway", 2, 1, false, false, false, true, false, 4,
                               0}),
    [](const ::testing::TestParamInfo<Scenario>& scenario) { return std::string(scenario.param.name); });

// A page whose send outlasts its lease many times over stays its worker's: the lease is renewed meanwhile,
// and no other worker's look makes it unknown; it ends as its worker tells.
TEST(Room, ALeaseIsRenewedWhileThePageGoes)
{
    onServer("postgres", "CREATE DATABASE lease");
    const std::string uri = address("lease");
    auto desk = SqlOutbox::OpenShared(uri, {"desk-a", "desk-a/1", 60000});
    ASSERT_TRUE(desk);
    TSendParams params;
    params.CurName = W("Петров");
    std::vector<OutboxPage> pages{NewOutboxPage(params, {"x"}, "x", false, 0)};
    ASSERT_TRUE(desk.value()->Add(pages));
    OutboxPlace gateway;
    gateway.database = uri;
    gateway.who = {"gw", "gw/7", 300};
    OutboxLedger ledger([gateway] { return OpenOutbox(gateway); }, {pages[0].id});
    ASSERT_TRUE(ledger.Starting(0).value());
    for (int look = 0; look < 10; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(desk.value()->ExpireLeases().value(), 0) << look;
    }
    ASSERT_TRUE(ledger.Sent(0));
    ASSERT_TRUE(ledger.Close(false, {}));
    const OutboxPage sent = *desk.value()->Page(pages[0].id).value();
    EXPECT_EQ(sent.state, PageState::Sent);
    EXPECT_EQ(sent.worker, "gw/7");
}

// Many pages go in whole, each with its own values, or none of them: a page the server refuses in the
// last statement undoes the statements before it.
TEST(Room, ManyPagesAreAddedWholeOrNotAtAll)
{
    onServer("postgres", "CREATE DATABASE many");
    auto desk = SqlOutbox::OpenShared(address("many"), {"desk-a", "desk-a/1", 60000});
    ASSERT_TRUE(desk);
    TSendParams params;
    std::vector<OutboxPage> pages;
    for (int i = 0; i < 250; ++i) {
        params.CurNumber = 1000 + i;
        pages.push_back(NewOutboxPage(params, {std::to_string(i)}, std::to_string(i), false, 0));
    }
    std::vector<OutboxPage> refused = pages;
    refused.back().id = "same";
    refused[3].id = "same";
    EXPECT_FALSE(desk.value()->Add(refused));
    EXPECT_EQ(desk.value()->Unfinished().value(), 0);

    ASSERT_TRUE(desk.value()->Add(pages));
    EXPECT_EQ(desk.value()->Unfinished().value(), 250);
    for (int i : {0, 99, 100, 199, 200, 249}) {
        const OutboxPage kept = *desk.value()->Page(pages[i].id).value();
        EXPECT_EQ(kept.text, std::to_string(i));
        EXPECT_EQ(kept.params.CurNumber, 1000 + i);
        EXPECT_EQ(kept.desk, "desk-a");
    }
}

// Another desk sees each change within moments: the server tells every connection that listens.
TEST(Room, EveryChangeIsToldToTheOtherDesks)
{
    onServer("postgres", "CREATE DATABASE told");
    const std::string uri = address("told");
    auto deskA = SqlOutbox::OpenShared(uri, {"desk-a", "desk-a/1", 60000});
    auto deskB = SqlOutbox::OpenShared(uri, {"desk-b", "desk-b/1", 60000});
    ASSERT_TRUE(deskA && deskB);
    QObject context;
    int told = 0;
    ASSERT_TRUE(deskB.value()->WatchChanges(&context, [&told] { ++told; }));
    TSendParams params;
    params.CurName = W("Петров");
    std::vector<OutboxPage> pages{NewOutboxPage(params, {"x"}, "x", false, 0)};
    ASSERT_TRUE(deskA.value()->Add(pages));
    const auto waitTold = [&told](int times) {
        for (int i = 0; i < 200 && told < times; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return told >= times;
    };
    EXPECT_TRUE(waitTold(1));
    ASSERT_TRUE(deskA.value()->Cancel(pages[0].id, 1).value());
    EXPECT_TRUE(waitTold(2));
    // A look that changes nothing tells nothing.
    ASSERT_EQ(deskA.value()->ExpireLeases().value(), 0);
    waitTold(3);
    EXPECT_EQ(told, 2);
    // The server restarted: the next look (the slow poll) makes a new connection, which tells once for
    // what it may have missed and listens again.
    cluster("restart");
    ASSERT_TRUE(deskB.value()->Unfinished());
    EXPECT_TRUE(waitTold(3));
    ASSERT_TRUE(deskA.value()->Add(pages = {NewOutboxPage(params, {"y"}, "y", false, 0)}));
    EXPECT_TRUE(waitTold(4));
}

// The end of a page that another machine's worker sent is told at the desk that queued it, and only there.
TEST(Room, APagesEndIsToldAtTheDeskThatQueuedIt)
{
    onServer("postgres", "CREATE DATABASE ends");
    const std::string uri = address("ends");
    struct Desk
    {
        TempDataDir dir;
        TSettings settings;
        std::unique_ptr<TJournal> journal;
        std::unique_ptr<SendController> sends;
        std::vector<std::string> told;
    };
    Desk desks[2];
    const TProviderList providers;
    for (Desk& desk : desks) {
        desk.settings.OutboxDatabase = uri;
        desk.settings.OutboxDesk = &desk == &desks[0] ? "desk-a" : "desk-b";
        desk.journal = std::make_unique<TJournal>(DataFolder(desk.dir.path()));
        desk.sends = std::make_unique<SendController>(DataFolder(desk.dir.path()), desk.settings,
                                                      *desk.journal, providers);
        QObject::connect(desk.sends.get(), &SendController::retryEnded,
                         [&desk](const OutboxPage& page) { desk.told.push_back(page.id); });
        ASSERT_NE(desk.sends->outbox(false), nullptr);
    }
    auto gateway = SqlOutbox::OpenShared(uri, {"gw", "gw/1", 60000});
    ASSERT_TRUE(gateway);
    TSendParams params;
    params.CurName = W("Петров");
    std::vector<OutboxPage> pages{NewOutboxPage(params, {"x"}, "x", false, 0)};
    pages[0].desk = "desk-a";
    ASSERT_TRUE(gateway.value()->Add(pages));
    ASSERT_EQ(gateway.value()->ClaimDue({}).value().size(), 1u);
    ASSERT_TRUE(
        gateway.value()->Finish(pages[0].id, PageState::Sent, {}, *gateway.value()->ServerClockMs().value()));
    for (int i = 0; i < 200 && desks[0].told.empty(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(desks[0].told, std::vector<std::string>{pages[0].id});
    EXPECT_TRUE(desks[1].told.empty());
}

// The window's Send while the shared outbox cannot be reached: the page goes from the desk's own outbox,
// and the status bar is told so.
TEST(Room, ASendWhileTheServerIsAwayGoesFromTheDesksOwnOutbox)
{
    ScriptedServer peer({snppOk()});
    TempDataDir dir;
    prepare(dir, peer.port(), "desk-a");
    Session session{DataFolder(dir.path())};
    ReadDirectory(session);
    session.settings.OutboxDatabase =
        "postgresql://nobody@127.0.0.1:" + std::to_string(ScriptedServer::closedPort()) + "/paging";
    SendController sends(session.folder, session.settings, session.journal, session.providers);
    QStringList kept;
    bool idle = false;
    QObject::connect(&sends, &SendController::keptHere, [&kept](const QString& text) { kept << text; });
    QObject::connect(&sends, &SendController::idle, [&idle] { idle = true; });
    session.SendParams.CurName = W("Петров");
    session.SendParams.CurNumber = 1001;
    session.SendParams.CurProvider = W("Пейджер");
    SendOrder order = TakeOrder(session.folder, session.SendParams, -1, {}, session.providers);
    order.lines = {"away"};
    order.text = "away";
    ASSERT_TRUE(sends.send(std::move(order)));
    for (int i = 0; i < 2000 && !idle; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(idle);
    EXPECT_EQ(kept, QStringList{QStringLiteral("Общая очередь недоступна: сообщение в очереди этого места")});
    EXPECT_EQ(peer.accepted(), 1);
    auto own = SqlOutbox::Open(dir.path() + "/" + OutboxFileName);
    ASSERT_TRUE(own);
    const std::vector<OutboxPage> recent = own.value()->Recent(0).value();
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_EQ(recent[0].state, PageState::Sent);
    EXPECT_EQ(recent[0].desk, "desk-a");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
