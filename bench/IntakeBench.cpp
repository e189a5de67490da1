// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP intake under load, into the embedded outbox: 1,000 POST /v1/pages from 20 clients at once, each
// on a connection of its own, every answer 202 and every page in the outbox once (the requests that arrive
// together are stored in one transaction, as a sink may store them); beside it one request's answer on a
// kept connection and one page's add to the outbox alone, as the sink makes it. The intake, its sink and
// its outbox live on a thread of their own with its event loop, as in zolbin-send; the clients block on
// theirs. Real time: the disk's waits are the cost.

#include "../tests/support/HttpCall.h"
#include "bench/BenchDataFolder.h"
#include "dispatch/OutboxLedger.h"
#include "intake/HttpIntake.h"
#include "records/OutboxLocks.h"

#include <QEventLoop>
#include <QThread>
#include <benchmark/benchmark.h>
#include <future>
#include <stdexcept>
#include <thread>

namespace zolbin::bench {

namespace {

// Each page taken in as one outbox page per recipient; the pages taken in together added in one
// transaction.
class OutboxSink final : public PageSink
{
public:
    explicit OutboxSink(Outbox& outbox) : outbox_(outbox) {}
    SinkAnswer store(const IncomingPage& page) override { return storeAll({page}).front(); }
    std::vector<SinkAnswer> storeAll(const std::vector<IncomingPage>& taken) override
    {
        std::vector<OutboxPage> pages;
        std::vector<SinkAnswer> answers(taken.size());
        for (std::size_t i = 0; i < taken.size(); ++i)
            for (const PagerTarget& target : taken[i].recipients) {
                TSendParams params;
                params.CurName = target.name;
                params.CurNumber = 1001;
                params.CurProvider = "Bench";
                pages.push_back(NewOutboxPage(params, {taken[i].text}, taken[i].text, false, NowMs()));
                answers[i].ids.push_back(++added_); // the outbox's own ids are no numbers
            }
        if (!outbox_.Add(pages))
            for (SinkAnswer& answer : answers)
                answer = SinkAnswer{SinkAnswer::Kind::TryLater, "outbox", {}, {}};
        return answers;
    }

private:
    Outbox& outbox_;
    std::int64_t added_ = 0;
};

// The intake with its sink and a fresh outbox, served on a thread of its own until the object goes.
class IntakeThread
{
public:
    IntakeThread()
    {
        std::promise<std::uint16_t> listening;
        std::future<std::uint16_t> port = listening.get_future();
        thread_.reset(QThread::create([this, &listening] {
            Result<std::unique_ptr<Outbox>> outbox = OpenFolderOutbox(folder_.folder());
            if (!outbox)
                return listening.set_value(0);
            TAbonentList subscribers;
            auto ivanov = std::make_shared<TAbonent>();
            ivanov->Name = "Ivanov";
            ivanov->Number = 1001;
            subscribers.Add(ivanov);
            const TGroupList groups;
            const ListPagerDirectory directory(subscribers, groups);
            OutboxSink sink(*outbox.value());
            HttpIntakeOptions options;
            options.tokens = {{"bench-token", {}}};
            options.maxPagesPerMinute = 0;
            HttpIntake intake(directory, sink, std::move(options));
            QEventLoop loop;
            loop_ = &loop;
            listening.set_value(intake.listen({}, 0) ? intake.port() : 0);
            loop.exec();
            count_ = outbox.value()->Unfinished().value();
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
        return count_;
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
    int count_ = 0;
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
    Result<std::unique_ptr<Outbox>> outbox = OpenFolderOutbox(folder.folder());
    if (!outbox) {
        state.SkipWithError("the outbox cannot be opened");
        return;
    }
    OutboxSink sink(*outbox.value());
    IncomingPage page;
    page.recipients = {PagerTarget{PagerTarget::Kind::Subscriber, "Ivanov", 0, false, {}}};
    page.text = "Pump 3 stopped";
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
