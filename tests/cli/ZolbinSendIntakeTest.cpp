// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox's background worker taking pages in over SNPP and HTTP: Perl's Net::SNPP client and a plain
// HTTP client page through the listeners of a running `zolbin-send --work-outbox --follow`, and the page
// reaches the company's server (Net::SNPP::Server) with its line in the journal; the refusals leave
// nothing in the outbox, and an HTTP listener open to other machines without tokens does not start.

#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "records/Journal.h"
#include "records/SqlOutbox.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/HttpCall.h"
#include "tests/support/Polling.h"
#include "tests/support/TempDir.h"
#include "tests/support/peers/Peers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <chrono>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;

namespace {

std::uint16_t freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// The pages a Net::SNPP client sends, one connection each: the code of each page's last reply, space
// separated ("250 554"). Every pager and message is UTF-8.
std::string pageWithNetSnpp(std::uint16_t port, const std::string& pager, const std::string& message,
                            int times = 1)
{
    QProcess perl;
    perl.start(QStringLiteral("perl"),
               {QStringLiteral("-MNet::SNPP"), QStringLiteral("-e"),
                QStringLiteral("my @codes; for (1 .. $ARGV[3]) {"
                               " my $s = Net::SNPP->new('127.0.0.1', Port => $ARGV[0], Timeout => 10) or die;"
                               " $s->send(Pager => $ARGV[1], Message => $ARGV[2]); push @codes, $s->code;"
                               " $s->quit; } print join(' ', @codes);"),
                QString::number(port), QString::fromStdString(pager), QString::fromStdString(message),
                QString::number(times)});
    if (!perl.waitForFinished(30000)) {
        perl.kill();
        perl.waitForFinished(5000);
        return "perl did not finish";
    }
    return perl.readAllStandardOutput().toStdString() + perl.readAllStandardError().toStdString();
}

class ZolbinSendIntakeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (snpp.state() != PeerProcess::State::Ready)
            GTEST_SKIP() << "Net::SNPP::Server not available: " << snpp.problem();
        CopyCodeTables(dir.path());
        WriteSettings(dir.path());
        ASSERT_TRUE(
            ProfileFile(dir.file(SettingsFileName)).writeString(SectionIntake, "MaxPagesPerMinute", "1"));
        files.company("Beeper", Gate::SNPP, snpp.port());
        files.subscriber(W("Иванов"), 1234567, "Beeper");
        files.subscriber(W("Петров"), 7654321, "Beeper");
        files.subscriber(W("Сидоров"), 5555555, "Nowhere");
        // A server that takes the connection (the system's backlog does) and never says a word.
        ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
        files.company("Silent", Gate::SNPP, silent.serverPort());
        files.subscriber(W("Кузнецов"), 3333333, "Silent");
        files.write(dir.path());
        port = freePort();
        httpPort = freePort();
        ASSERT_NE(port, 0);
        ASSERT_NE(httpPort, 0);
        worker.start(QStringLiteral(ZOLBIN_SEND_EXECUTABLE),
                     {QStringLiteral("--data-dir"), QString::fromStdString(dir.path()),
                      QStringLiteral("--work-outbox"), QStringLiteral("--follow"),
                      QStringLiteral("--listen-snpp"), QStringLiteral("127.0.0.1:%1").arg(port),
                      QStringLiteral("--listen-http"), QStringLiteral("127.0.0.1:%1").arg(httpPort)});
        ASSERT_TRUE(worker.waitForStarted(10000));
        // Both listeners: they are opened one after the other.
        ASSERT_TRUE(waitFor(
            [this] {
                for (const std::uint16_t listening : {port, httpPort}) {
                    QTcpSocket probe;
                    probe.connectToHost(QHostAddress::LocalHost, listening);
                    if (!probe.waitForConnected(1000))
                        return false;
                }
                return true;
            },
            15000))
            << worker.readAllStandardError().toStdString();
    }
    void TearDown() override
    {
        if (worker.state() == QProcess::NotRunning)
            return;
        worker.terminate();
        if (!worker.waitForFinished(15000)) {
            worker.kill();
            worker.waitForFinished(5000);
        }
    }
    std::vector<OutboxPage> pages()
    {
        auto outbox = SqlOutbox::Open(dir.file(OutboxFileName));
        return outbox ? outbox.value()->Recent(0).value() : std::vector<OutboxPage>{};
    }
    std::vector<std::string> journal() { return Utf8Lines(dir.read(JournalFileName)); }

    SnppPeer snpp;
    TempDataDir dir;
    DirectoryFiles files;
    QTcpServer silent;
    std::uint16_t port = 0;
    std::uint16_t httpPort = 0;
    QProcess worker;
};

} // namespace

TEST_F(ZolbinSendIntakeTest, PageTakenInArrivesAtTheCompanyAfterItsJournalLine)
{
    EXPECT_EQ(pageWithNetSnpp(port, "1234567", "Насос 3 остановлен"), "250");

    ASSERT_TRUE(waitFor(
        [this] {
            const auto lines = snpp.receivedLines();
            return std::find(lines.begin(), lines.end(), "SEND\r\n") != lines.end();
        },
        20000))
        << worker.readAllStandardError().toStdString();
    const std::string koi8 = "\xEE\xC1\xD3\xCF\xD3 3 \xCF\xD3\xD4\xC1\xCE\xCF\xD7\xCC\xC5\xCE"; // KOI8-R
    const std::vector<std::string> lines = snpp.receivedLines();
    EXPECT_EQ(lines.front(), "PAGE 1234567\r\n");
    EXPECT_THAT(lines.at(1), ::testing::StartsWith("MESS " + koi8));
    ASSERT_TRUE(waitFor(
        [this] {
            const auto all = journal();
            return std::find(all.begin(), all.end(), "Сообщение успешно отправлено") != all.end();
        },
        10000));
    const std::vector<std::string> all = journal();
    const auto taken = std::find(all.begin(), all.end(), "Принято по SNPP от 127.0.0.1: абонент «Иванов»");
    ASSERT_NE(taken, all.end()) << ::testing::PrintToString(all);
    EXPECT_LT(taken - all.begin(), std::find(all.begin(), all.end(), "Инициализация...") - all.begin());
}

TEST_F(ZolbinSendIntakeTest, RefusedPagesLeaveNothingInTheOutbox)
{
    struct Refusal
    {
        const char* what;
        std::string pager;
        int times;
        std::string codes;   // of each attempt
        std::size_t queued;  // pages in the outbox after it
        std::string journal; // the refusal's journal line begins so; empty: none
    };
    const Refusal refusals[] = {
        {"an unknown pager ID", "4242", 1, "550", 0, ""},
        {"a subscriber whose company is not in the directory", "Сидоров", 1, "554", 0,
         "Отклонено по SNPP от 127.0.0.1: абонент «Сидоров»: абонент «Сидоров»: пейдж. компания «Nowhere» не "
         "найдена"},
        {"a second page within the minute", "Петров", 2, "250 554", 1,
         "Отклонено по SNPP от 127.0.0.1: абонент «Петров»: абонент «Петров»: больше 1 сообщений в минуту"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(pageWithNetSnpp(port, r.pager, "text", r.times), r.codes);
        EXPECT_EQ(pages().size(), r.queued);
        if (!r.journal.empty()) {
            const std::vector<std::string> all = journal();
            EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const std::string& line) {
                return line.rfind(r.journal, 0) == 0;
            })) << ::testing::PrintToString(all);
        }
    }
    EXPECT_EQ(worker.state(), QProcess::Running);
}

TEST_F(ZolbinSendIntakeTest, AClientIsAnsweredWhileTheWorkerWaitsForACompany)
{
    EXPECT_EQ(pageWithNetSnpp(port, "Кузнецов", "first"), "250");
    ASSERT_TRUE(silent.waitForNewConnection(15000)); // the worker is sending it now, for a minute at most
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(pageWithNetSnpp(port, "Иванов", "second"), "250");
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(5));
    worker.kill(); // not worth waiting for the silent company's page
    worker.waitForFinished(5000);
}

TEST_F(ZolbinSendIntakeTest, PagePostedOverHttpIsSentAndItsStateReadBackByItsId)
{
    const auto call = [this](const std::string& method, const std::string& target, const std::string& body) {
        return HttpCall(httpPort, HttpRequestText(method, target, body));
    };
    EXPECT_EQ(call("GET", "/v1/health", {}).status, 200);
    const HttpResponse stored = call("POST", "/v1/pages", R"({"to": "Петров", "text": "Котёл 2 стоп"})");
    ASSERT_EQ(stored.status, 202) << stored.body;
    const QJsonArray ids = QJsonDocument::fromJson(QByteArray::fromStdString(stored.body))
                               .object()
                               .value(QLatin1String("ids"))
                               .toArray();
    ASSERT_EQ(ids.size(), 1);
    const std::string id = ids[0].toString().toStdString();
    const std::vector<OutboxPage> queued = pages();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].id, id);
    const HttpResponse unknown = call("POST", "/v1/pages", R"({"to": "Никто", "text": "x"})");
    EXPECT_EQ(unknown.status, 404);

    const auto state = [&] {
        const HttpResponse answer = call("GET", "/v1/pages/" + id, {});
        return QJsonDocument::fromJson(QByteArray::fromStdString(answer.body))
            .object()
            .value(QLatin1String("state"))
            .toString()
            .toStdString();
    };
    ASSERT_TRUE(waitFor([&] { return state() == "sent"; }, 20000)) << state();
    const std::vector<std::string> lines = snpp.receivedLines();
    EXPECT_EQ(lines.front(), "PAGE 7654321\r\n");
    EXPECT_EQ(call("GET", "/v1/pages/" + id + "x", {}).status, 404);
    EXPECT_EQ(pages().size(), 1u);
    const std::vector<std::string> all = journal();
    EXPECT_THAT(all, ::testing::Contains("Принято по HTTP от 127.0.0.1: абонент «Петров»"));
    EXPECT_THAT(all, ::testing::Contains(::testing::StartsWith(
                         "Отклонено по HTTP от 127.0.0.1: /v1/pages: 404 Получатель не найден")));
}

TEST(ZolbinSendHttpIntake, AListenerForOtherMachinesWithoutTokensDoesNotStart)
{
    TempDataDir dir;
    CopyCodeTables(dir.path());
    WriteSettings(dir.path());
    const CliRun run =
        RunExecutable({"--data-dir", dir.path(), "--work-outbox", "--follow", "--listen-http", "0.0.0.0:1"},
                      dir.path(), {}, 20000);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, ::testing::HasSubstr("TokenFile")) << run.err;
}
