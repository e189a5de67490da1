// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/RoomRun.h"

#include "bench/BenchDataFolder.h"
#include "bench/LoopbackOrders.h"
#include "bench/SnppResponder.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "records/SqlOutbox.h"
#include "records/ui/QueueWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zolbin::bench {

namespace {

std::unique_ptr<SqlOutbox> openDesk(const std::string& database, const char* desk)
{
    Result<std::unique_ptr<SqlOutbox>> opened = SqlOutbox::OpenShared(database, OutboxIdentity{desk, desk});
    if (!opened)
        throw std::runtime_error("the shared outbox cannot be opened: " +
                                 opened.failure().shown().toStdString());
    return std::move(opened.value());
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

} // namespace

int ServeSnpp()
{
    SnppResponder responder(true);
    std::cout << responder.port() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    std::cout << responder.completed() << std::endl;
    return 0;
}

int MeasureRoomNotice(const std::string& database, int changes, int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::unique_ptr<SqlOutbox> desk1 = openDesk(database, "desk-1");
    const std::unique_ptr<SqlOutbox> desk2 = openDesk(database, "desk-2");
    TfmQueue queue;
    queue.setOutbox(desk2.get());
    queue.show();
    QEventLoop loop;
    using Clock = std::chrono::steady_clock;
    Clock::time_point changed;
    std::vector<double> delays;
    if (!desk2->WatchChanges(&queue, [&] {
            // What the desk does on a notice: its queue window reads the outbox again.
            queue.refresh();
            delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - changed).count());
            loop.quit();
        }))
        throw std::runtime_error("the second desk cannot listen to the outbox's changes");
    const BenchDataFolder folder;
    const LoopbackOrders orders(0, 1);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (int i = 0; i < changes; ++i) {
        SendOrder order = orders.subscriberOrder(folder.folder());
        const std::size_t before = delays.size();
        changed = Clock::now();
        if (!EnqueueOrder(order, *desk1, PageHolder::Worker, 0, NowMs()))
            throw std::runtime_error("the first desk cannot queue a page");
        limit.start(2000);
        loop.exec();
        if (delays.size() == before)
            throw std::runtime_error("the second desk was not told of a change within 2 s");
        // Notices of the same change that come late are not counted for the next one.
        QCoreApplication::processEvents();
        delays.resize(before + 1);
    }
    std::printf("%.3f %.3f\n", percentile(delays, 0.5), percentile(delays, 0.95));
    return 0;
}

} // namespace zolbin::bench
