// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sends of a host that keeps its thread free (the main window): each page the operator sends is
// written into the outbox before anything goes, then handed to a SendJob at once, or after the pages sent
// before it; while the host is open the outbox's worker sends the pages that fall due as jobs of the same
// line, never beside the operator's own. Everything a job tells is relayed by signals, which the host only
// shows; a message or the group question holds the job until answer(). Nothing here waits: each job runs
// on a thread of its own and its reports arrive through the event loop.

#include "dispatch/OutboxWorker.h"
#include "dispatch/SendJob.h"
#include "records/Outbox.h"
#include "records/OutboxLocks.h"

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace zolbin {

class SecretStore;

class SendController final : public QObject, private OutboxWorker::Runner
{
    Q_OBJECT
public:
    // A text a job tells (a status text, a message, the question, a member's name) as the job gives it;
    // the host words it for the screen in one place.
    using JobText = QByteArray;
    // A batch's pages by state.
    using PageCounts = std::map<PageState, int>;

    // The run's settings, journal and companies, read as they are when each job is made; they outlive
    // the controller.
    SendController(const DataFolder& folder, const TSettings& settings, const TJournal& journal,
                   const TProviderList& providers, QObject* parent = nullptr);
    // A job still running ends with the member it serves; the pages waiting for it stay in the outbox,
    // due for the next worker.
    ~SendController() override;
    SendController(const SendController&) = delete;
    SendController& operator=(const SendController&) = delete;

    // Where every job asks for the SMTP password and the SIM's PIN (none: no store).
    void setSecrets(SecretStore* store) { secrets_ = store; }
    // The deadlines of the waits of every job started from now on.
    void setDeadlines(const SendDeadlines& deadlines) { deadlines_ = deadlines; }

    // The operator's Send: the order (its recipient, lists and message) gets the run's parts, its pages
    // are written into the outbox and held, then its job starts at once or after the ones before it.
    // False when the pages could not be written (trouble() told why): nothing is sent.
    bool send(SendOrder order);
    // The members of the running group send not yet started are not served.
    void cancel();
    bool cancelRequested() const { return job_ && job_->cancelRequested(); }
    // The answer to the message or question that holds the job (a message takes any answer).
    void answer(bool yes);

    bool sending() const { return job_ != nullptr; }               // a job runs (or pages wait for it)
    int queued() const { return static_cast<int>(queue_.size()); } // the operator's pages waiting
    bool retrying() const { return retryPage_.has_value(); }       // the running job is a retry

    // The data folder's outbox, opened on first use (create: also when its file is not there yet; a
    // failure is then told by trouble()). Nothing when it is not there or cannot be opened.
    Outbox* outbox(bool create);
    Outbox* openedOutbox() const { return outbox_.get(); } // only if already open
    // The outbox's worker from now on, looking at least every pollMs.
    void startOutboxWork(std::int64_t pollMs);
    // Looks at once for a page that is due, sent if nothing of the operator's runs.
    void workOutbox();

signals:
    // A job starts (the operator's or a retry), and every job is over with none waiting.
    void jobStarted();
    void idle();
    // What the running job tells.
    void statusText(const JobText& text);
    void beep();
    void message(const QString& text, int notice); // SendHost::Notice; answer() lets the job go on
    void question(const QString& text);            // the group question; answer(true) goes on
    void memberStarted(int number, int count, const JobText& name);
    // The operator's send was complete: the recipient's service settings and the text as Send took them.
    void completed(const TSendParams& taken, const std::string& takenText);
    // The last text shown is to stay 2000 ms and then go.
    void ended();
    // A job's thread has ended (before what follows of it).
    void jobFinished();
    // After the operator's send of a group: its pages by state.
    void groupEnded(const std::string& name, const PageCounts& counts);
    // After the operator's send: whether a page failed.
    void sendFinished(bool failed);
    // After a retry: the page as it now stands.
    void retryEnded(const OutboxPage& page);
    // Pages of vanished senders found of unknown outcome.
    void unknownFound(int count);
    // The outbox's counts may have changed (never told while the operator's pages are under way, which
    // are in the outbox only while they are sent).
    void countsChanged();
    void outboxOpened(Outbox* outbox);
    // The outbox could not be opened or written, or held for a send (the failure's text).
    void trouble(const QString& text);
    // The shared outbox was away: the operator's page went into this desk's own outbox (the text says
    // so); it is sent from there when its gate is this desk's, and moves into the shared outbox when the
    // server is back.
    void keptHere(const QString& text);

private:
    void giveRunParts(SendOrder& order) const;
    bool enqueue(SendOrder& order);
    void startNext();
    void connectJob(SendJob* job);
    void finishJob();
    void finishRetry();
    void rememberGroup(const SendOrder& order);
    void tellGroupEnd();
    void sendsEnded();
    void releaseQueuedPages();
    // This desk's own outbox, for the pages Send writes while the shared outbox is away.
    Outbox* ownOutbox();
    // Pages this desk queued that another machine's worker brought to an end since the last look: each
    // told as a retry's end.
    void tellEndsOfDesk();
    // OutboxWorker::Runner: a page of the outbox fell due; its job runs as the operator's do.
    void startPage(const OutboxPage& page) override;

    DataFolder folder_;
    const TSettings& settings_;
    const TJournal& journal_;
    const TProviderList& providers_;
    SecretStore* secrets_ = nullptr;
    SendDeadlines deadlines_;
    // What the jobs remember of the GSM modems, from one to the next.
    std::shared_ptr<ModemMemory> modems_ = std::make_shared<ModemMemory>();
    std::unique_ptr<SendJob> job_;         // the send running, if any
    std::deque<SendOrder> queue_;          // pages sent while it runs, in their order
    std::unique_ptr<Outbox> outbox_;       // opened on the host's thread
    std::unique_ptr<Outbox> own_;          // the folder's own while the shared outbox is away
    bool away_ = false;                    // the shared outbox's server could not be reached
    std::int64_t endsSeenMs_ = -1;         // the shared outbox's clock at the last look at the desk's ends
    SenderLock holding_;                   // held while the operator's pages are under way
    OutboxWorker* worker_ = nullptr;       // the retries while the host is open
    std::optional<std::string> retryPage_; // the page the running job tries again
    std::string trouble_;                  // why the outbox could not be opened, once told
    // The group the running job sends: its name and the outbox's batch of its members' pages.
    std::optional<std::pair<std::string, std::string>> group_;
};

} // namespace zolbin
