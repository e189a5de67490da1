// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/OutboxLedger.h"

#include "platform/Clock.h"

#include <chrono>

namespace zolbin {

std::int64_t NowMs()
{
    return Clock::current().now().toMSecsSinceEpoch();
}

OutboxLedger::OutboxLedger(Opener open, std::vector<std::string> ids)
    : open_(std::move(open)), ids_(std::move(ids)), steps_(ids_.size(), Step::Untouched)
{
}

OutboxLedger::OutboxLedger(Opener open, std::vector<std::string> ids, Outbox& writtenWith)
    : OutboxLedger(std::move(open), std::move(ids))
{
    writtenWith_ = &writtenWith;
    writtenOn_ = std::this_thread::get_id();
}

void OutboxLedger::passOver(std::vector<bool> others)
{
    others_ = std::move(others);
    for (std::size_t i = 0; i < others_.size() && i < steps_.size(); ++i)
        if (others_[i])
            steps_[i] = Step::Ended;
}

Status OutboxLedger::ensureOpen()
{
    if (outbox_ != nullptr)
        return {};
    // A connection belongs to its thread: another thread opens its own.
    if (writtenWith_ != nullptr && writtenOn_ == std::this_thread::get_id()) {
        outbox_ = writtenWith_;
        return {};
    }
    Result<std::unique_ptr<Outbox>> opened = open_();
    if (!opened)
        return opened.failure();
    own_ = std::move(opened.value());
    outbox_ = own_.get();
    return {};
}

std::int64_t OutboxLedger::now()
{
    if (outbox_ != nullptr)
        if (const Result<std::optional<std::int64_t>> server = outbox_->ServerClockMs();
            server && server.value())
            return *server.value();
    return NowMs();
}

template <class Write> auto OutboxLedger::whenBack(Write step) -> decltype(step())
{
    auto done = step();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ServerAwayWaitMs);
    while (!done && outbox_->Away() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        done = step();
    }
    return done;
}

const std::string* OutboxLedger::idOf(int recipient) const
{
    if (recipient < 0 || static_cast<std::size_t>(recipient) >= ids_.size())
        return nullptr;
    return &ids_[static_cast<std::size_t>(recipient)];
}

Result<bool> OutboxLedger::Starting(int recipient)
{
    const std::string* id = idOf(recipient);
    if (id == nullptr)
        return false;
    if (static_cast<std::size_t>(recipient) < others_.size() &&
        others_[static_cast<std::size_t>(recipient)]) {
        steps_[static_cast<std::size_t>(recipient)] = Step::Ended;
        return false;
    }
    if (Status opened = ensureOpen(); !opened)
        return opened.failure();
    // A page its worker claimed already: still its own (its lease not run out and taken over)?
    const Result<bool> claimed =
        whenBack([&] { return claimed_ && recipient == 0 ? outbox_->Renew(*id) : outbox_->Claim(*id); });
    if (!claimed)
        return claimed.failure();
    steps_[static_cast<std::size_t>(recipient)] = claimed.value() ? Step::Claimed : Step::Ended;
    if (!claimed.value())
        return false;
    Result<std::optional<OutboxPage>> page = whenBack([&] { return outbox_->Page(*id); });
    if (!page)
        return page.failure();
    current_ = page.value().value_or(OutboxPage{});
    if (outbox_->Shared())
        lease_.start(open_, *id, outbox_->LeaseMs());
    return true;
}

Status OutboxLedger::Sent(int recipient)
{
    const std::string* id = idOf(recipient);
    if (id == nullptr || steps_[static_cast<std::size_t>(recipient)] != Step::Claimed)
        return {};
    steps_[static_cast<std::size_t>(recipient)] = Step::Ended;
    lease_.stop();
    return whenBack([&] { return outbox_->Finish(*id, PageState::Sent, {}, now()); });
}

Result<RetryDecision> OutboxLedger::Failed(int recipient, FailureKind kind, const std::string& reply)
{
    const std::string* id = idOf(recipient);
    if (id == nullptr || steps_[static_cast<std::size_t>(recipient)] != Step::Claimed)
        return RetryDecision{};
    steps_[static_cast<std::size_t>(recipient)] = Step::Ended;
    lease_.stop();
    const std::int64_t at = now();
    RetryDecision decision;
    const bool retriesOn = current_.deadlineMs > 0;
    const std::int64_t window = retriesOn ? current_.deadlineMs - current_.createdMs : 0;
    decision.nextMs = NextAttemptMs(kind, current_.attempts, at, window);
    decision.nextAttempt = current_.attempts + 1;
    decision.exhausted = retriesOn && kind == FailureKind::Passing && !decision.nextMs;
    const PageState ended = kind == FailureKind::Unknown ? PageState::Unknown : PageState::Failed;
    const Status recorded = whenBack([&] {
        return decision.nextMs ? outbox_->Reschedule(*id, *decision.nextMs, reply)
                               : outbox_->Finish(*id, ended, reply, at);
    });
    if (!recorded)
        return recorded.failure();
    return decision;
}

Status OutboxLedger::Close(bool cancelled, const std::string& reason)
{
    lease_.stop();
    Status result;
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        if (steps_[i] == Step::Ended)
            continue;
        if (Status opened = ensureOpen(); !opened)
            return opened;
        // A page claimed and never told of was cut off by a failure of the command's own (a journal that
        // could not be written): it did not go.
        const bool claimed = steps_[i] == Step::Claimed || (claimed_ && i == 0 && !cancelled);
        Status ended;
        if (claimed) {
            ended = whenBack([&] { return outbox_->Finish(ids_[i], PageState::Failed, reason, now()); });
        } else if (claimed_ && i == 0) {
            // Claimed by its worker and withdrawn before it started: back for the next worker.
            const Result<bool> released = outbox_->Release(ids_[i]);
            ended = released ? Status{} : Status{released.failure()};
        } else if (cancelled) {
            const Result<bool> withdrawn = outbox_->Cancel(ids_[i], now());
            ended = withdrawn ? Status{} : Status{withdrawn.failure()};
        } else {
            const Result<bool> claimedNow = outbox_->Claim(ids_[i]);
            if (claimedNow && claimedNow.value())
                ended = outbox_->Finish(ids_[i], PageState::Failed, reason, now());
            else if (!claimedNow)
                ended = claimedNow.failure();
        }
        steps_[i] = Step::Ended;
        if (!ended && result)
            result = ended;
    }
    outbox_ = nullptr;
    own_.reset();
    return result;
}

} // namespace zolbin
