// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/LeaseKeeper.h"

#include <algorithm>
#include <chrono>

namespace zolbin {

void LeaseKeeper::start(Opener open, std::string id, std::int64_t leaseMs)
{
    stop();
    stopping_ = false;
    thread_ = std::thread(&LeaseKeeper::run, this, std::move(open), std::move(id),
                          std::max<std::int64_t>(leaseMs / 3, 10));
}

void LeaseKeeper::stop()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void LeaseKeeper::run(Opener open, std::string id, std::int64_t everyMs)
{
    // The connection is this thread's: opened, used and closed here.
    std::unique_ptr<Outbox> outbox;
    bool renewing = true;
    std::unique_lock<std::mutex> lock(mutex_);
    while (renewing) {
        if (wake_.wait_for(lock, std::chrono::milliseconds(everyMs), [this] { return stopping_; }))
            break;
        lock.unlock();
        if (!outbox) {
            Result<std::unique_ptr<Outbox>> opened = open();
            if (opened)
                outbox = std::move(opened.value());
        }
        if (outbox) {
            const Result<bool> renewed = outbox->Renew(id);
            renewing = !renewed || renewed.value();
        }
        lock.lock();
    }
    lock.unlock();
    outbox.reset();
}

} // namespace zolbin
