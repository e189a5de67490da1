// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/OutboxWorker.h"

#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "platform/Codepage.h"

#include <QTimer>
#include <algorithm>

namespace zolbin {

OutboxWorker::OutboxWorker(Options options, Runner& runner, QObject* parent)
    : QObject(parent), options_(std::move(options)), runner_(runner), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &OutboxWorker::look);
}

OutboxWorker::~OutboxWorker() = default;

std::int64_t OutboxWorker::now() const
{
    return options_.clock ? options_.clock() : NowMs();
}

OutboxPlace OutboxWorker::place() const
{
    OutboxPlace place;
    place.folder = options_.folder;
    place.database = options_.database;
    place.who = options_.who;
    return place;
}

void OutboxWorker::start()
{
    schedule(0);
}

void OutboxWorker::schedule(std::int64_t inMs)
{
    if (!done_)
        timer_->start(static_cast<int>(std::clamp<std::int64_t>(inMs, 0, options_.pollMs)));
}

void OutboxWorker::setPaused(bool paused)
{
    paused_ = paused;
    if (!paused_ && !running_)
        schedule(0);
}

void OutboxWorker::stop()
{
    stopRequested_ = true;
    if (!running_)
        finish();
}

void OutboxWorker::finish()
{
    if (done_)
        return;
    done_ = true;
    timer_->stop();
    pending_.clear();
    sending_.release();
    outbox_.reset();
    emit finished();
}

// The worker's lock: taken when free; another program at work is told once.
bool OutboxWorker::takeTurn()
{
    switch (turn_.take(options_.folder.path(OutboxWorkerLockName))) {
    case FileLock::Result::Taken:
        toldBusy_ = false;
        return true;
    case FileLock::Result::Unavailable:
        emit failed(QLatin1String(OutboxWorkerLockName) + QLatin1String(": ") +
                    Failure::fromErrno(turn_.error()).shown());
        return false;
    case FileLock::Result::Busy:
        break;
    }
    if (!toldBusy_)
        emit turnBusy();
    toldBusy_ = true;
    return false;
}

// The outbox could not be worked: looked at again after the poll interval, the turn given up by a
// follower meanwhile.
void OutboxWorker::troubled(const Failure& failure)
{
    pending_.clear();
    sending_.release();
    if (options_.follow)
        turn_.release();
    troubled_ = true;
    emit trouble(failure.shown());
    schedule(options_.pollMs);
}

void OutboxWorker::look()
{
    if (paused_ || running_ || done_)
        return;
    if (stopRequested_) {
        finish();
        return;
    }
    if (!options_.outbox && !outbox_) {
        Result<std::unique_ptr<Outbox>> opened = OpenOutbox(place());
        if (!opened) {
            troubled(opened.failure());
            return;
        }
        outbox_ = std::move(opened.value());
        // Finished pages leave after the days the settings keep them.
        (void)PruneOutbox(*outbox_, options_.keepDays, now());
    }
    Outbox* outbox = box();
    if (outbox == nullptr) {
        schedule(options_.pollMs);
        return;
    }
    if (shared()) {
        lookShared(*outbox);
        return;
    }
    // Taken again should it have been missed (a window looking at that moment holds it briefly).
    if (options_.follow && !following_.held())
        (void)following_.take(options_.folder.path(OutboxFollowerLockName), FileLock::Mode::Shared);
    if (!turn_.held() && !takeTurn()) {
        schedule(options_.pollMs);
        return;
    }
    const Result<int> unknown = RecoverOutbox(*outbox, options_.folder, now());
    if (!unknown) {
        troubled(unknown.failure());
        return;
    }
    if (unknown.value() > 0) {
        notSent_ += unknown.value();
        emit unknownFound(unknown.value());
    }
    emit countsChanged();
    Result<std::vector<OutboxPage>> due = DuePages(*outbox, now());
    if (!due) {
        troubled(due.failure());
        return;
    }
    if (due.value().empty()) {
        roundEnded();
        return;
    }
    runner_.roundStarts();
    if (done_)
        return;
    if (Status held = sending_.hold(options_.folder); !held) {
        emit failed(held.failure().shown());
        schedule(options_.pollMs);
        return;
    }
    pending_ = std::move(due.value());
    if (options_.gates != AllGates)
        std::erase_if(pending_,
                      [this](const OutboxPage& page) { return !PageInGates(page, options_.gates); });
    if (pending_.empty()) {
        sending_.release();
        roundEnded();
        return;
    }
    if (!options_.wholeRound)
        pending_.resize(1);
    nextPage();
}

void OutboxWorker::nextPage()
{
    if (done_)
        return;
    if (pending_.empty() || stopRequested_) {
        pending_.clear();
        sending_.release();
        roundEnded();
        return;
    }
    const OutboxPage page = pending_.front();
    pending_.erase(pending_.begin());
    running_ = page.id;
    emit pageStarted(QString::fromStdString(page.id));
    runner_.startPage(page);
}

void OutboxWorker::pageDone()
{
    if (!running_ || done_)
        return;
    const std::string id = *running_;
    running_.reset();
    Outbox* outbox = box();
    if (outbox == nullptr)
        return;
    const Result<std::optional<OutboxPage>> after = outbox->Page(id);
    if (!after) {
        troubled(after.failure());
        return;
    }
    if (after.value()) {
        const PageState state = after.value()->state;
        if (state == PageState::Sent)
            ++sent_;
        else if (IsFinished(state))
            ++notSent_;
        emit pageFinished(QString::fromStdString(id), static_cast<int>(state));
    }
    // The next page from the event loop: a runner that sends at once does not nest the round.
    QTimer::singleShot(0, this, [this] {
        if (!running_)
            nextPage();
    });
}

// The round is over: the work ends once nothing is left (when so asked), else the next look is set for
// the next page due.
void OutboxWorker::roundEnded()
{
    if (troubled_)
        emit troubleOver();
    troubled_ = false;
    if (stopRequested_) {
        finish();
        return;
    }
    Outbox* outbox = box();
    if (outbox == nullptr) {
        schedule(options_.pollMs);
        return;
    }
    if (options_.untilEmpty) {
        const std::optional<bool> over = nothingLeft(*outbox);
        if (!over)
            return;
        if (*over) {
            finish();
            return;
        }
    }
    if (shared()) {
        // The server's clock decides when a page is due: the next look after the poll interval, at once
        // after a page (another may be due).
        schedule(idle_ ? options_.pollMs : 0);
        return;
    }
    // Following, the turn is given up between rounds: the window, when opened, takes it.
    if (options_.follow)
        turn_.release();
    const Result<std::optional<std::int64_t>> next = outbox->NextDue();
    if (!next) {
        troubled(next.failure());
        return;
    }
    schedule(next.value() ? *next.value() - now() : options_.pollMs);
}

} // namespace zolbin

namespace zolbin {

std::optional<bool> OutboxWorker::nothingLeft(Outbox& outbox)
{
    // Every page of every gate on a worker that sends them all; else those of its gates that wait.
    const Result<int> left =
        options_.gates == AllGates && !shared() ? outbox.Unfinished() : outbox.WaitingIn(options_.gates);
    if (!left) {
        troubled(left.failure());
        return std::nullopt;
    }
    return left.value() == 0;
}

void OutboxWorker::lookShared(Outbox& outbox)
{
    // What the desk kept in its own outbox while the shared one was away goes there first.
    if (!moved_ || troubled_) {
        const Result<int> moved = MoveWaitingPages(options_.folder, outbox);
        if (!moved && outbox.Away()) {
            troubled(moved.failure());
            return;
        }
        // A folder's outbox that cannot be read keeps its pages; the shared outbox is worked anyway.
        moved_ = true;
    }
    const Result<int> unknown = outbox.ExpireLeases();
    if (!unknown) {
        troubled(unknown.failure());
        return;
    }
    if (unknown.value() > 0) {
        notSent_ += unknown.value();
        emit unknownFound(unknown.value());
    }
    emit countsChanged();
    Result<std::vector<OutboxPage>> claimed = outbox.ClaimDue(ClaimRequest{options_.gates, 1});
    if (!claimed) {
        troubled(claimed.failure());
        return;
    }
    idle_ = claimed.value().empty();
    if (idle_) {
        roundEnded();
        return;
    }
    const OutboxPage page = claimed.value().front();
    runner_.roundStarts();
    if (done_ || stopRequested_) {
        // Not started: back for the next worker.
        (void)outbox.Release(page.id);
        if (!done_)
            finish();
        return;
    }
    running_ = page.id;
    emit pageStarted(QString::fromStdString(page.id));
    runner_.startPage(page);
}

} // namespace zolbin
