// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps a worker's claim on a page of a shared outbox while the page is sent: a thread of its own, with a
// connection of its own, renews the lease a few times within each lease, however long the send's waits
// block the thread that sends. Should the renewal fail (the server away a moment), it tries again at the
// next turn; once the page is no longer the worker's it stops renewing.

#include "records/Outbox.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zolbin {

class LeaseKeeper final
{
public:
    using Opener = std::function<Result<std::unique_ptr<Outbox>>()>;

    LeaseKeeper() = default;
    ~LeaseKeeper() { stop(); }
    LeaseKeeper(const LeaseKeeper&) = delete;
    LeaseKeeper& operator=(const LeaseKeeper&) = delete;

    // Renews the page's lease every third of the lease (leaseMs), until stop().
    void start(Opener open, std::string id, std::int64_t leaseMs);
    void stop();

private:
    void run(Opener open, std::string id, std::int64_t everyMs);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

} // namespace zolbin
