// SPDX-License-Identifier: GPL-3.0-or-later
// The queue window over a large outbox: 100,000 pages finished in the last day (all of them shown) and
// 10,000 waiting for a retry. Opening the window until its first rows are painted, the model's first
// batch, and the reload the window's timer runs every two seconds. The first two report the process's
// peak resident memory before and after (run alone, --benchmark_filter=Queue, for the window's own).

#include "bench/StartupRun.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "records/SqlOutbox.h"
#include "records/ui/QueueModel.h"
#include "records/ui/QueueWindow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>

namespace zolbin::bench {

namespace {

constexpr int Finished = 100000;
constexpr int Waiting = 10000;

std::unique_ptr<SqlOutbox> open(const std::string& path)
{
    Result<std::unique_ptr<SqlOutbox>> box = SqlOutbox::Open(path);
    if (!box)
        throw std::runtime_error(box.failure().shown().toStdString());
    return std::move(box).value();
}

// The outbox file, filled once for all the benchmarks and removed at exit. The outbox finishes pages one
// at a time, each in a transaction of its own; one statement gives the finished and waiting pages their
// states at once.
const std::string& LargeOutbox()
{
    static QTemporaryDir folder;
    static const std::string path = [] {
        const std::string file = folder.path().toStdString() + "/" + OutboxFileName;
        const std::int64_t now = Clock::current().now().toMSecsSinceEpoch();
        auto box = open(file);
        // Added in parts, so that the pages in memory do not make the peak the window is measured by.
        constexpr int Part = 5000;
        std::vector<OutboxPage> pages(Part);
        for (int i = 0; i < Finished + Waiting; ++i) {
            OutboxPage& p = pages[static_cast<std::size_t>(i % Part)];
            const bool finished = i < Finished;
            p.id.clear(); // the outbox gives a new one: the previous 5,000 pages hold this one
            p.createdMs = now - 23 * 3600 * 1000 + i * 500;
            p.params.CurName = cp("Абонент ") + std::to_string(i);
            p.params.CurNumber = 1000 + i;
            p.params.CurProvider = cp("Мобильная связь");
            p.lines = {cp("Проверка связи, сообщение ") + std::to_string(i)};
            p.attempts = 1;
            p.nextAttemptMs = finished ? 0 : now + 15 * 60 * 1000;
            p.finishedMs = finished ? p.createdMs + 2000 : 0;
            p.lastReply = finished ? "250 OK" : cp("421 Сервер временно недоступен");
            if (i % Part != Part - 1)
                continue;
            if (const Status added = box->Add(pages); !added)
                throw std::runtime_error(added.failure().shown().toStdString());
        }
        box.reset();
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fill"));
            db.setDatabaseName(QString::fromStdString(file));
            if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("UPDATE outbox_pages SET state = CASE WHEN "
                                                                 "finished_ms > 0 THEN %1 ELSE %2 END")
                                                      .arg(static_cast<int>(PageState::Sent))
                                                      .arg(static_cast<int>(PageState::Waiting))))
                throw std::runtime_error("the outbox's states could not be set");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
        return file;
    }();
    return path;
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The peak before the benchmark's window or model was made, and after it ran.
class PeakMemory
{
public:
    explicit PeakMemory(benchmark::State& state) : state_(state), before_(peakMemoryMiB()) {}
    ~PeakMemory()
    {
        state_.counters["peak_before_MiB"] = before_;
        state_.counters["peak_MiB"] = peakMemoryMiB();
    }
    PeakMemory(const PeakMemory&) = delete;
    PeakMemory& operator=(const PeakMemory&) = delete;

private:
    benchmark::State& state_;
    double before_;
};

void BM_QueueWindowOpen(benchmark::State& state)
{
    auto box = open(LargeOutbox());
    const PeakMemory peak(state);
    TfmQueue window;
    window.setOutbox(box.get());
    for (auto _ : state) {
        window.show();
        RunUntilIdle();
        state.PauseTiming();
        window.hide();
        RunUntilIdle();
        state.ResumeTiming();
    }
}

void BM_QueueFirstBatch(benchmark::State& state)
{
    auto box = open(LargeOutbox());
    const PeakMemory peak(state);
    QueueModel model;
    model.setOutbox(box.get());
    for (auto _ : state) {
        if (const Status read = model.reload(); !read)
            state.SkipWithError("the outbox could not be read");
        state.PauseTiming();
        state.counters["rows_read"] = model.rowCount();
        state.counters["rows_shown"] = model.total();
        model.clear();
        state.ResumeTiming();
    }
}

void BM_QueueRefresh(benchmark::State& state)
{
    auto box = open(LargeOutbox());
    QueueModel model;
    model.setOutbox(box.get());
    (void)model.reload();
    while (model.rowCount() < state.range(0) && model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
    for (auto _ : state)
        (void)model.reload();
}

} // namespace

BENCHMARK(BM_QueueWindowOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueueFirstBatch)->Unit(benchmark::kMillisecond);
// The rows read so far, all read again: one batch, or fifty after the operator scrolled far down.
BENCHMARK(BM_QueueRefresh)
    ->ArgName("rows")
    ->Arg(QueueModel::Batch)
    ->Arg(50 * QueueModel::Batch)
    ->Unit(benchmark::kMillisecond);

} // namespace zolbin::bench
