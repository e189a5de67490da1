// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a group's pages into the outbox for a worker to send: EnqueueOrder of a 10,000-member group
// alone, into a fresh outbox each time, as `zolbin-send --queue` does it once. Beside it, what sending
// the same pages would write in the journal: the lines of a group member's page, as a real send to the
// loopback responder journals them, appended for each of 10,000 pages with the program's TJournal::Append
// (the file opened and closed for every line, as the send command writes it). Real time: the disk's
// waits are the cost.

#include "bench/BenchDataFolder.h"
#include "bench/BenchHost.h"
#include "bench/LoopbackOrders.h"
#include "bench/SnppResponder.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "records/OutboxLocks.h"
#include "records/SqlOutbox.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zolbin::bench {

namespace {

// The journal of a send of the message to a group of one member, line by line: the command's first
// line, then the member's.
std::vector<std::string> JournalOfOnePage()
{
    SnppResponder server;
    const BenchDataFolder folder;
    const LoopbackOrders orders(server.port(), 1);
    BenchHost host(folder.folder(), PageText());
    SendJob job(orders.groupOrder(folder.folder()));
    if (job.runWith(host) != SendOutcome::Completed || host.troubles() != 0)
        throw std::runtime_error("the page to the responder was not accepted");
    std::ifstream file(folder.folder().path(JournalFileName), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    for (std::size_t from = 0, end = text.find("\r\n"); end != std::string::npos;
         from = end + 2, end = text.find("\r\n", from))
        lines.push_back(text.substr(from, end - from));
    if (lines.size() < 2)
        throw std::runtime_error("the send journaled nothing of its page");
    return lines;
}

void BM_EnqueueGroup(benchmark::State& state)
{
    const int members = static_cast<int>(state.range(0));
    const BenchDataFolder folder;
    const LoopbackOrders orders(0, members); // nothing is sent
    std::unique_ptr<Outbox> outbox;
    SendOrder order(folder.folder());
    for (auto _ : state) {
        state.PauseTiming();
        outbox.reset();
        std::filesystem::remove(folder.folder().path(OutboxFileName));
        Result<std::unique_ptr<Outbox>> opened = OpenFolderOutbox(folder.folder());
        if (!opened) {
            state.SkipWithError("the outbox cannot be opened");
            break;
        }
        outbox = std::move(opened.value());
        order = orders.groupOrder(folder.folder());
        state.ResumeTiming();
        const Result<int> added = EnqueueOrder(order, *outbox, PageHolder::Worker, 0, NowMs());
        if (!added || added.value() != members) {
            state.SkipWithError("the pages could not be written into the outbox");
            break;
        }
    }
}

void BM_JournalOfSentPages(benchmark::State& state)
{
    const std::vector<std::string> lines = JournalOfOnePage();
    const BenchDataFolder folder;
    const TJournal journal(folder.folder());
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(journal.path());
        state.ResumeTiming();
        journal.Append(lines.front());
        for (std::int64_t page = 0; page < state.range(0); ++page)
            for (std::size_t i = 1; i < lines.size(); ++i)
                journal.Append(lines[i]);
    }
    if (journal.Failure() != 0)
        state.SkipWithError("the journal could not take its lines");
    state.counters["lines_per_page"] = static_cast<double>(lines.size() - 1);
}

} // namespace

BENCHMARK(BM_EnqueueGroup)->ArgName("members")->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalOfSentPages)->ArgName("pages")->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace zolbin::bench
