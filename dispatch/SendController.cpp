// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/SendController.h"

#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "platform/AfterStart.h"
#include "platform/SecretStore.h"
#include "records/SqlOutbox.h"

#include <QFileInfo>

namespace zolbin {

SendController::SendController(const DataFolder& folder, const TSettings& settings, const TJournal& journal,
                               const TProviderList& providers, QObject* parent)
    : QObject(parent), folder_(folder), settings_(settings), journal_(journal), providers_(providers)
{
}

SendController::~SendController()
{
    delete worker_;
    worker_ = nullptr;
    releaseQueuedPages();
    queue_.clear();
    job_.reset();
}

// What every job takes as it is when the job is made, the operator's page or a retry: the settings, the
// journal, the deadlines, what is remembered of the modems, and where the SMTP password and the SIM's
// PIN come from.
void SendController::giveRunParts(SendOrder& order) const
{
    order.settings = settings_;
    order.journal = journal_;
    order.folder = folder_;
    order.deadlines = deadlines_;
    order.modems = modems_;
    order.smtpPassword = [store = secrets_, server = settings_.SMTPServer, user = settings_.SMTPUser] {
        return ReadSmtpPassword(store, server, user);
    };
    // A refused PIN is taken out of the store, so that no later send gives it again (three wrong PINs lock
    // the SIM); the operator saves the right one in "Линия GSM…".
    order.simPin = [store = secrets_, key = SimPinSecretKey(settings_.GsmDevice)] {
        if (store == nullptr)
            return std::string();
        SecretStore::Answer answer = store->read(key);
        return answer.outcome == SecretStore::Outcome::Done ? std::move(answer.secret) : std::string();
    };
    order.simPinRefused = [store = secrets_, key = SimPinSecretKey(settings_.GsmDevice)] {
        if (store != nullptr)
            (void)store->write(key, std::string());
    };
}

bool SendController::send(SendOrder order)
{
    giveRunParts(order);
    if (!enqueue(order))
        return false;
    queue_.push_back(std::move(order));
    if (!job_)
        startNext();
    return true;
}

void SendController::cancel()
{
    if (job_)
        job_->cancel();
}

void SendController::answer(bool yes)
{
    if (job_)
        job_->answer(yes);
}

Outbox* SendController::outbox(bool create)
{
    if (outbox_)
        return outbox_.get();
    const OutboxPlace place = PlaceOf(settings_, folder_);
    if (!create && !place.shared() &&
        !QFileInfo::exists(QString::fromStdString(folder_.path(OutboxFileName))))
        return nullptr;
    Result<std::unique_ptr<Outbox>> opened = OpenOutbox(place);
    if (!opened) {
        away_ = place.shared() && opened.failure().code == FailureCode::OutboxAway;
        // A Send is always told (unless its page goes into the desk's own outbox, which is said); the
        // host's own looks tell each new trouble once.
        if ((create && !away_) || opened.failure().russian() != trouble_)
            emit trouble(opened.failure().shown());
        trouble_ = opened.failure().russian();
        return nullptr;
    }
    trouble_.clear();
    away_ = false;
    outbox_ = std::move(opened.value());
    emit outboxOpened(outbox_.get());
    // A shared outbox tells each change of any desk or worker at once: the counts follow it, and a look
    // for a page this desk may send (the polls stay behind it).
    if (auto* shared = dynamic_cast<SqlOutbox*>(outbox_.get()))
        shared->WatchChanges(this, [this] {
            if (retryPage_ || (!job_ && queue_.empty()))
                emit countsChanged();
            tellEndsOfDesk();
            workOutbox();
        });
    tellEndsOfDesk();
    // Finished pages leave after the days the settings keep them.
    (void)PruneOutbox(*outbox_, settings_.OutboxKeepDays, NowMs());
    return outbox_.get();
}

Outbox* SendController::ownOutbox()
{
    if (!own_) {
        // The desk's own outbox, its pages still written as this desk's.
        OutboxPlace own = PlaceOf(settings_, folder_);
        own.database.clear();
        Result<std::unique_ptr<Outbox>> opened = OpenOutbox(own);
        if (!opened) {
            emit trouble(opened.failure().shown());
            return nullptr;
        }
        own_ = std::move(opened.value());
    }
    return own_.get();
}

// The page goes into the outbox before anything is sent; when it cannot, nothing is sent. A desk whose
// shared outbox is away writes it into its own.
bool SendController::enqueue(SendOrder& order)
{
    OutboxPlace place = PlaceOf(settings_, folder_);
    const bool room = place.shared();
    Outbox* box = outbox(true);
    for (bool kept = false;; kept = true) {
        if (box == nullptr && room && away_ && !kept) {
            box = ownOutbox();
            place.database.clear();
            if (box != nullptr)
                emit keptHere(tr("Общая очередь недоступна: сообщение в очереди этого места"));
        }
        if (box == nullptr)
            return false;
        order.outboxPlace = place;
        // Held before the pages are: no recovery may take them from the host meanwhile (a shared outbox's
        // claims hold by their leases).
        if (const Status held = box->Shared() ? Status{} : holding_.hold(folder_); !held) {
            emit trouble(held.failure().shown());
            return false;
        }
        // In a room the desk sends the pages of its own gates; the others wait for the workers of theirs.
        const Result<int> added = EnqueueOrder(order, *box, PageHolder::Sender, settings_.RetryMinutes,
                                               NowMs(), room ? settings_.OutboxGates : AllGates);
        if (added)
            break;
        if (!job_ && queue_.empty())
            holding_.release();
        if (box->Shared() && box->Away() && !kept) {
            away_ = true;
            box = nullptr;
            continue;
        }
        emit trouble(added.failure().shown());
        return false;
    }
    // The worker holds off until the operator's own sends have ended.
    if (worker_ != nullptr)
        worker_->setPaused(true);
    return true;
}

void SendController::startNext()
{
    rememberGroup(queue_.front());
    job_ = std::make_unique<SendJob>(std::move(queue_.front()));
    queue_.pop_front();
    connectJob(job_.get());
    emit jobStarted();
    job_->start();
}

void SendController::connectJob(SendJob* job)
{
    connect(job, &SendJob::statusText, this, &SendController::statusText);
    connect(job, &SendJob::beep, this, &SendController::beep);
    connect(job, &SendJob::message, this, &SendController::message);
    connect(job, &SendJob::question, this, &SendController::question);
    connect(job, &SendJob::memberStarted, this, &SendController::memberStarted);
    connect(job, &SendJob::completed, this, [this, job] {
        if (!retryPage_) // a retry took nothing from the host
            emit completed(job->takenParams(), job->takenText());
    });
    connect(job, &SendJob::ended, this, &SendController::ended);
    connect(job, &SendJob::finished, this, &SendController::finishJob);
}

void SendController::finishJob()
{
    const bool failed = job_->pageFailed();
    // The job's thread has ended; the object goes once this report is over.
    job_.release()->deleteLater();
    emit jobFinished();
    if (retryPage_) {
        finishRetry();
    } else {
        tellGroupEnd();
        emit sendFinished(failed);
    }
    if (!queue_.empty()) {
        startNext();
        return;
    }
    emit idle();
    sendsEnded();
}

// A retry's job has ended: a page that reached its end is told, also while the host is hidden.
void SendController::finishRetry()
{
    const std::string id = *retryPage_;
    retryPage_.reset();
    if (worker_ != nullptr)
        worker_->pageDone();
    if (outbox_ == nullptr)
        return;
    const Result<std::optional<OutboxPage>> page = outbox_->Page(id);
    // A page another desk queued is told there.
    if (page && page.value() && (!outbox_->Shared() || page.value()->desk == settings_.OutboxDesk))
        emit retryEnded(*page.value());
}

void SendController::tellEndsOfDesk()
{
    if (outbox_ == nullptr || !outbox_->Shared())
        return;
    // From the outbox's opening on: what ended before is in the queue window.
    if (endsSeenMs_ < 0) {
        const Result<std::optional<std::int64_t>> now = outbox_->ServerClockMs();
        if (now && now.value())
            endsSeenMs_ = *now.value();
        return;
    }
    const Result<std::vector<OutboxPage>> ended = outbox_->EndedFor(settings_.OutboxDesk, endsSeenMs_);
    if (!ended)
        return;
    const std::string mine = PlaceOf(settings_, folder_).who.worker;
    for (const OutboxPage& page : ended.value()) {
        endsSeenMs_ = std::max(endsSeenMs_, page.finishedMs);
        if (page.worker != mine)
            emit retryEnded(page);
    }
}

// A group sent by the operator: its pages are one batch of the outbox, counted when the send is over.
void SendController::rememberGroup(const SendOrder& order)
{
    group_.reset();
    if (order.unattended || order.curGroup < 0 || order.groups.Count() == 0 || order.pageIds.empty() ||
        outbox_ == nullptr)
        return;
    const Result<std::optional<OutboxPage>> first = outbox_->Page(order.pageIds.front());
    if (first && first.value())
        group_.emplace(order.groups.Items(0)->Name, first.value()->batch);
}

void SendController::tellGroupEnd()
{
    if (!group_ || outbox_ == nullptr)
        return;
    const auto [name, batch] = *group_;
    group_.reset();
    const Result<PageCounts> counts = outbox_->CountBatch(batch);
    if (counts)
        emit groupEnded(name, counts.value());
}

void SendController::startOutboxWork(std::int64_t pollMs)
{
    OutboxWorker::Options how(folder_);
    const OutboxPlace place = PlaceOf(settings_, folder_);
    how.database = place.database;
    how.who = place.who;
    how.gates = settings_.OutboxGates;
    how.pollMs = pollMs;
    how.wholeRound = false; // the host looks again after each page: the operator may send meanwhile
    how.outbox = [this] { return outbox(false); };
    worker_ = new OutboxWorker(std::move(how), *this, this);
    connect(worker_, &OutboxWorker::unknownFound, this, &SendController::unknownFound);
    connect(worker_, &OutboxWorker::countsChanged, this, [this] {
        if (retryPage_ || (!job_ && queue_.empty()))
            emit countsChanged();
        tellEndsOfDesk();
    });
    // The first look once the window is up: the window is not held back by a shared outbox's server.
    afterStart(worker_, [worker = worker_] { worker->look(); });
}

// Never beside a send of the operator's: the worker is held off then.
void SendController::workOutbox()
{
    if (worker_ != nullptr)
        worker_->look();
}

void SendController::startPage(const OutboxPage& page)
{
    SendOrder order = OrderOfPage(page, providers_, PlaceOf(settings_, folder_));
    giveRunParts(order);
    order.unattended = true;
    retryPage_ = page.id;
    queue_.push_back(std::move(order));
    startNext();
}

void SendController::sendsEnded()
{
    holding_.release();
    emit countsChanged();
    if (worker_ != nullptr)
        worker_->setPaused(false);
}

// Pages Send took that never started stay in the outbox, due at once for the next worker (the
// background service, or this host when it opens again).
void SendController::releaseQueuedPages()
{
    if (outbox_ == nullptr)
        return;
    for (const SendOrder& order : queue_)
        for (const std::string& id : order.pageIds)
            (void)outbox_->Retry(id, NowMs());
}

} // namespace zolbin
