// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the worker of the outbox: every page Send takes is written there before anything
// is sent (and held by the window until its job sends it); while the window is open it sends the pages
// that fall due (retries, and pages queued by zolbin-send), one job at a time and never while the
// operator's own send runs. The status bar counts the pages that wait and marks those that did not go; a
// retry that finally goes out or finally fails is told by a desktop notification.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "records/SqlOutbox.h"
#include "records/ui/QueueWindow.h"

#include <QFileInfo>
#include <QLabel>

namespace zolbin {

namespace {

// How often the window looks for pages others put into the outbox, and for its turn to work it.
constexpr std::int64_t OutboxPollMs = 5000;

} // namespace

Outbox* TfmSend::outbox(bool create)
{
    if (outbox_)
        return outbox_.get();
    const OutboxPlace place = PlaceOf(settings_, folder_);
    if (!create && !place.shared() &&
        !QFileInfo::exists(QString::fromStdString(folder_.path(OutboxFileName))))
        return nullptr;
    Result<std::unique_ptr<Outbox>> opened = OpenOutbox(place);
    if (!opened) {
        // A Send is always told; the window's own looks tell each new trouble once.
        if (create || opened.failure().text != outboxTrouble_)
            Prompts::message(opened.failure().text, PromptIcon::Stop);
        outboxTrouble_ = opened.failure().text;
        return nullptr;
    }
    outboxTrouble_.clear();
    outbox_ = std::move(opened.value());
    if (windows_.fmQueue)
        windows_.fmQueue->setOutbox(outbox_.get());
    // A shared outbox tells each change of any desk or worker at once: the count, the queue window and a
    // look for a page this desk may send follow it (the polls stay behind it).
    if (auto* shared = dynamic_cast<SqlOutbox*>(outbox_.get()))
        shared->WatchChanges(this, [this] {
            updateOutboxCount();
            if (windows_.fmQueue && windows_.fmQueue->isVisible())
                windows_.fmQueue->refresh();
            workOutbox();
        });
    // Finished pages leave after the days the settings keep them.
    (void)PruneOutbox(*outbox_, settings_.OutboxKeepDays, NowMs());
    return outbox_.get();
}

// The page goes into the outbox before anything is sent; when it cannot, nothing is sent.
bool TfmSend::enqueueSend(SendOrder& order)
{
    Outbox* box = outbox(true);
    if (box == nullptr)
        return false;
    order.outboxPlace = PlaceOf(settings_, folder_);
    // Held before the pages are: no recovery may take them from the window meanwhile (a shared outbox's
    // claims hold by their leases).
    if (const Status held = box->Shared() ? Status{} : outboxSending_.hold(folder_); !held) {
        Prompts::message(held.failure().text, PromptIcon::Stop);
        return false;
    }
    const Result<int> added = EnqueueOrder(order, *box, PageHolder::Sender, settings_.RetryMinutes, NowMs());
    if (!added) {
        Prompts::message(added.failure().text, PromptIcon::Stop);
        if (!job_ && queue_.empty())
            outboxSending_.release();
        return false;
    }
    // The worker holds off until the window's own sends have ended.
    if (outboxWorker_ != nullptr)
        outboxWorker_->setPaused(true);
    return true;
}

void TfmSend::startOutboxWork()
{
    OutboxWorker::Options how;
    how.folder = folder_;
    const OutboxPlace place = PlaceOf(settings_, folder_);
    how.database = place.database;
    how.who = place.who;
    how.gates = settings_.OutboxGates;
    how.pollMs = OutboxPollMs;
    how.wholeRound = false; // the window looks again after each page: the operator may send meanwhile
    how.outbox = [this] { return outbox(false); };
    outboxWorker_ = new OutboxWorker(std::move(how), *this, this);
    connect(outboxWorker_, &OutboxWorker::unknownFound, this, [this](int count) {
        const std::string text = cp("Сообщений с неизвестным исходом: ") + std::to_string(count) +
                                 cp(" (см. «Очередь сообщений»)");
        SetStatusText(text);
        if (sendNotifier_)
            sendNotifier_(toQString(text), true);
    });
    connect(outboxWorker_, &OutboxWorker::countsChanged, this, &TfmSend::updateOutboxCount);
    outboxWorker_->look();
}

// Looks at once for a page that is due, if the window may send it now: never beside a send of its own.
void TfmSend::workOutbox()
{
    if (outboxWorker_ != nullptr)
        outboxWorker_->look();
}

void TfmSend::startPage(const OutboxPage& page)
{
    SendOrder order = OrderOfPage(page, providers_, PlaceOf(settings_, folder_));
    giveRunParts(order);
    order.unattended = true;
    retryPage_ = page.id;
    queue_.push_back(std::move(order));
    startNextSend();
}

// A retry's job has ended: a page that reached its end is told, also while the window is hidden.
void TfmSend::retryFinished()
{
    const std::string id = *retryPage_;
    retryPage_.reset();
    if (outboxWorker_ != nullptr)
        outboxWorker_->pageDone();
    if (outbox_ == nullptr)
        return;
    const Result<std::optional<OutboxPage>> page = outbox_->Page(id);
    if (!page || !page.value())
        return;
    const OutboxPage& p = *page.value();
    const std::string who = !p.params.CurName.empty() ? p.params.CurName : std::to_string(p.params.CurNumber);
    std::string text;
    if (p.state == PageState::Sent)
        text = cp("Сообщение для абонента ") + who + cp(" отправлено (попытка ") +
               std::to_string(p.attempts) + ")";
    else if (p.state == PageState::Failed)
        text = cp("Сообщение для абонента ") + who + cp(" отправить не удалось: ") + p.lastReply;
    else if (p.state == PageState::Unknown)
        text = cp("Сообщение для абонента ") + who + cp(": исход неизвестен (") + p.lastReply + ")";
    if (!text.empty() && sendNotifier_)
        sendNotifier_(toQString(text), p.state != PageState::Sent);
}

void TfmSend::sendsEnded()
{
    outboxSending_.release();
    updateOutboxCount();
    if (outboxWorker_ != nullptr)
        outboxWorker_->setPaused(false);
}

// The pages that wait for a later attempt; the count is not touched while the operator's own pages go,
// which are in the outbox only while they are sent.
void TfmSend::updateOutboxCount()
{
    if (pnlOutbox == nullptr || outbox_ == nullptr || (!retryPage_ && (job_ || !queue_.empty())))
        return;
    const Result<int> waiting = outbox_->Unfinished();
    const int count = waiting ? waiting.value() : 0;
    pnlOutbox->setText(toQString(cp("В очереди: ") + std::to_string(count)));
    pnlOutbox->setAccessibleName(pnlOutbox->text());
    pnlOutbox->setVisible(count > 0);
    updateNotSentMark();
    if (windows_.fmQueue)
        windows_.fmQueue->refresh();
}

// Pages Send took that never started stay in the outbox, due at once for the next worker (the
// background service, or this window when it opens again).
void TfmSend::releaseQueuedPages()
{
    if (outbox_ == nullptr)
        return;
    for (const SendOrder& order : queue_)
        for (const std::string& id : order.pageIds)
            (void)outbox_->Retry(id, NowMs());
}

} // namespace zolbin
