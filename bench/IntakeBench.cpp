// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP intake under load, into the embedded outbox: 1,000 POST /v1/pages from 20 clients at once, each
// on a connection of its own, every answer 202 and every page in the outbox once; beside it one request's
// answer on a kept connection and one page's add to the outbox alone. The intake is the service's own
// (intake/IntakeService with its token file and its sink, intake/OutboxSink: the checks of zolbin-send
// --queue, the outbox's transaction, the journal's line), living on a thread of its own with its event
// loop as in zolbin-send; the clients block on theirs. Real time: the disk's waits are the cost.

#include "../tests/support/Companies.h"
#include "../tests/support/HttpCall.h"
#include "bench/BenchDataFolder.h"
#include "intake/IntakeService.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QThread>
#include <benchmark/benchmark.h>
#include <fstream>
#include <future>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace zolbin::bench {

namespace {

// A session on the folder with one company and its subscriber "Ivanov", as the service reads them.
void fillSession(Session& session)
{
    session.providers.Add(std::make_shared<TProvider>(test::LoopbackCompany("Bench", Gate::SNPP, 4444)));
    session.abonents.Add(test::SubscriberOf("Bench", "Ivanov", 1001));
}

// The service's intake with a token file and a fresh outbox, served on a thread of its own until the
// object goes.
class IntakeThread
{
public:
    IntakeThread()
    {
        const std::string tokens = folder_.folder().path("tokens");
        std::ofstream(tokens) << "bench-token bench\n";
        ::chmod(tokens.c_str(), 0600);
        std::promise<std::uint16_t> listening;
        std::future<std::uint16_t> port = listening.get_future();
        thread_.reset(QThread::create([this, &listening, tokens] {
            Session session(folder_.folder());
            fillSession(session);
            IntakeOptions options;
            options.tokenFile = tokens;
            options.maxPagesPerMinute = 0;
            {
                QTcpServer probe; // the service takes a port of its own choosing only as HOST:PORT
                if (!probe.listen(QHostAddress::LocalHost, 0))
                    return listening.set_value(0);
                options.http = "127.0.0.1:" + std::to_string(probe.serverPort());
            }
            IntakeService service(session, std::move(options));
            QEventLoop loop;
            loop_ = &loop;
            listening.set_value(service.start() ? service.httpPort() : 0);
            loop.exec();
        }));
        thread_->start();
        port_ = port.get();
        if (port_ == 0)
            throw std::runtime_error("the intake does not listen");
    }
    ~IntakeThread() { stop(); }
    std::uint16_t port() const { return port_; }
    // The pages in the outbox once the thread has ended.
    int pagesAfter()
    {
        stop();
        Result<std::unique_ptr<Outbox>> outbox = OpenFolderOutbox(folder_.folder());
        return outbox ? outbox.value()->Unfinished().value() : -1;
    }

private:
    void stop()
    {
        if (stopped_)
            return;
        stopped_ = true;
        QMetaObject::invokeMethod(loop_, &QEventLoop::quit, Qt::QueuedConnection);
        thread_->wait();
    }

    const BenchDataFolder folder_;
    std::unique_ptr<QThread> thread_;
    QEventLoop* loop_ = nullptr;
    std::uint16_t port_ = 0;
    bool stopped_ = false;
};

const std::string Request =
    test::HttpRequestText("POST", "/v1/pages", R"({"to": "Ivanov", "text": "Pump 3 stopped"})",
                          {"Authorization: Bearer bench-token"});

void BM_HttpPagesFrom20Clients(benchmark::State& state)
{
    constexpr int Clients = 20;
    constexpr int PerClient = 50;
    for (auto _ : state) {
        state.PauseTiming();
        IntakeThread intake;
        std::vector<std::unique_ptr<test::HttpConnection>> connections;
        for (int i = 0; i < Clients; ++i)
            connections.push_back(std::make_unique<test::HttpConnection>(intake.port()));
        state.ResumeTiming();
        std::vector<std::future<int>> accepted;
        for (auto& connection : connections)
            accepted.push_back(std::async(std::launch::async, [&connection] {
                int ok = 0;
                for (int i = 0; i < PerClient; ++i)
                    ok += connection->call(Request).status == 202 ? 1 : 0;
                return ok;
            }));
        int answered = 0;
        for (auto& count : accepted)
            answered += count.get();
        state.PauseTiming();
        connections.clear();
        const int stored = intake.pagesAfter();
        if (answered != Clients * PerClient || stored != Clients * PerClient) {
            state.SkipWithError("not every page was answered 202 and stored once");
            break;
        }
        state.ResumeTiming();
    }
}

void BM_HttpOnePage(benchmark::State& state)
{
    IntakeThread intake;
    test::HttpConnection connection(intake.port());
    for (auto _ : state)
        if (connection.call(Request).status != 202) {
            state.SkipWithError("a page was not accepted");
            break;
        }
}

void BM_OutboxAddOnePage(benchmark::State& state)
{
    const BenchDataFolder folder;
    Session session(folder.folder());
    fillSession(session);
    OutboxSink sink(session, 0);
    IncomingPage page;
    page.recipients = {PagerTarget{PagerTarget::Kind::Subscriber, "Ivanov", 0, false, {}}};
    page.text = "Pump 3 stopped";
    page.via = "HTTP";
    page.from = "127.0.0.1";
    for (auto _ : state)
        if (sink.store(page).kind != SinkAnswer::Kind::Stored) {
            state.SkipWithError("a page was not stored");
            break;
        }
}

} // namespace

BENCHMARK(BM_HttpPagesFrom20Clients)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_HttpOnePage)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_OutboxAddOnePage)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace zolbin::bench
