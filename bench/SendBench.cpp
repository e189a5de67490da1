// SPDX-License-Identifier: GPL-3.0-or-later
// What the outbox adds to a send: one SNPP page, and a group of 1,000, to the loopback responder, sent
// directly (an order without the outbox) and through the outbox (the order's pages written first, each
// claimed before its first byte and its outcome recorded), one after the other in the same run. The outbox
// is opened once and the senders' lock held, as the window keeps them. Real time: the waits for the
// responder and for the disk are the cost.

#include "bench/BenchDataFolder.h"
#include "bench/BenchHost.h"
#include "bench/LoopbackOrders.h"
#include "bench/SnppResponder.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "records/OutboxLocks.h"

#include <algorithm>
#include <benchmark/benchmark.h>

namespace zolbin::bench {

namespace {

void BM_LoopbackSend(benchmark::State& state)
{
    const bool throughOutbox = state.range(0) != 0;
    const int members = static_cast<int>(state.range(1));
    SnppResponder server;
    const BenchDataFolder folder;
    const LoopbackOrders orders(server.port(), std::max(members, 1));
    BenchHost host(folder.folder(), PageText());
    std::unique_ptr<Outbox> outbox;
    SenderLock sending;
    if (throughOutbox) {
        Result<std::unique_ptr<Outbox>> opened = OpenFolderOutbox(folder.folder());
        if (!opened || !sending.hold(folder.folder())) {
            state.SkipWithError("the outbox cannot be opened");
            return;
        }
        outbox = std::move(opened.value());
    }
    for (auto _ : state) {
        SendOrder order =
            members == 0 ? orders.subscriberOrder(folder.folder()) : orders.groupOrder(folder.folder());
        if (outbox && !EnqueueOrder(order, *outbox, PageHolder::Sender, 0, NowMs())) {
            state.SkipWithError("the pages could not be written into the outbox");
            break;
        }
        SendJob job(std::move(order));
        if (job.runWith(host) != SendOutcome::Completed || job.pageFailed() || host.troubles() != 0) {
            state.SkipWithError("a page was not accepted");
            break;
        }
    }
    const std::int64_t pages = state.iterations() * std::max(members, 1);
    if (!state.error_occurred() && server.completed() != pages)
        state.SkipWithError("the responder did not see every page");
    state.counters["pages"] = static_cast<double>(pages);
}

} // namespace

// 0 members: one subscriber.
BENCHMARK(BM_LoopbackSend)
    ->ArgNames({"outbox", "members"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1000})
    ->Args({1, 1000})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace zolbin::bench
