// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worker of the data folder's outbox, one for whoever works it (the window while it is open,
// `zolbin-send --work-outbox`): it takes the worker's lock when it can, recovers what vanished senders
// left (pages "sending" become unknown, held pages due), lets old finished pages go when it first opens
// the outbox, and sends the pages that fall due one at a time, never while its owner holds it off. The
// next look is a single-shot timer on the next due page (at most the poll interval away); nothing spins
// and no event loop is nested. How a page is sent is its runner's: it starts the page and tells pageDone()
// when the page's send is over (at once, or later from the event loop).

#include "platform/DataFolder.h"
#include "records/OutboxLocks.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace zolbin {

class OutboxWorker final : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        explicit Options(const DataFolder& dataFolder) : folder(dataFolder) {}

        DataFolder folder; // whose outbox and locks
        // A shared outbox's database (none: the folder's Outbox.db) and who works it; there no file lock
        // plays a part: each page is claimed with a lease, and pages left "sending" by a worker whose
        // lease ran out become unknown.
        std::string database;
        OutboxIdentity who;
        std::uint32_t gates = AllGates; // the gates whose pages this worker sends
        std::int64_t pollMs = 1000;     // the longest time between two looks
        int keepDays = 1;               // finished pages go after these days
        bool follow = false;            // the follower's lock held, the worker's given up between rounds
        bool untilEmpty = false;        // finished once no page is left unfinished
        bool wholeRound = true;         // every page due at a look sent before the next look (else one)
        // The owner's outbox, when it has one (nothing while there is none yet); else the worker opens
        // the folder's own and lets old finished pages go then.
        std::function<Outbox*()> outbox;
        std::function<std::int64_t()> clock; // the time in ms (the system clock when empty)
    };

    class Runner
    {
    public:
        virtual ~Runner() = default;
        // Pages are due: the round that sends them begins (a look at the directory as it is now).
        virtual void roundStarts() {}
        // Starts the page's send; pageDone() is told when it is over.
        virtual void startPage(const OutboxPage& page) = 0;
    };

    OutboxWorker(Options options, Runner& runner, QObject* parent = nullptr);
    ~OutboxWorker() override;

    // The first look (at once).
    void start();
    // Held off: no page starts, the look waits until it is let go again.
    void setPaused(bool paused);
    // The runner's page is over: its outcome is read and the round goes on.
    void pageDone();
    // Ends the work after the page under way; finished() follows.
    void stop();
    // From a signal handler too: no new page starts; stop() then ends the work.
    void requestStop() noexcept { stopRequested_ = true; }

    // Looks at the outbox now (when not held off and no page is under way).
    void look();

    bool working() const { return running_.has_value(); }
    // A shared outbox once opened whose server is away now (not a refusal: it may come back).
    bool serverAway() const { return shared() && box() != nullptr && box()->Away(); }
    int sent() const { return sent_; }
    int notSent() const { return notSent_; }

signals:
    void pageStarted(const QString& pageId);
    void pageFinished(const QString& pageId, int state);
    // Pages of vanished senders found of unknown outcome.
    void unknownFound(int count);
    // The counts of the outbox may have changed.
    void countsChanged();
    // Another program works the outbox (told once until the turn is taken).
    void turnBusy();
    // The outbox could not be read or written (in the interface's language): looked at again later.
    void trouble(const QString& text);
    // A look went through after trouble.
    void troubleOver();
    // The work cannot go on at all (the locks' files; in the interface's language).
    void failed(const QString& text);
    void finished();

public:
    // The outbox the worker reads, on its thread; none while it cannot be opened. A page the owner sends
    // on that same thread may record its steps through it rather than through a connection of its own.
    Outbox* box() const { return options_.outbox ? options_.outbox() : outbox_.get(); }

private:
    std::int64_t now() const;
    void schedule(std::int64_t inMs);
    bool takeTurn();
    void nextPage();
    void roundEnded();
    void troubled(const Failure& failure);
    void finish();
    OutboxPlace place() const;
    bool shared() const { return !options_.database.empty(); }
    // A shared outbox's look: pages of lapsed leases made unknown, the next due page claimed and started.
    void lookShared(Outbox& outbox);
    // Whether the work is over (when so asked): nothing left to send in the worker's gates.
    std::optional<bool> nothingLeft(Outbox& outbox);

    Options options_;
    Runner& runner_;
    QTimer* timer_;
    std::unique_ptr<Outbox> outbox_;
    FileLock turn_;
    FileLock following_;
    SenderLock sending_;
    std::vector<OutboxPage> pending_;
    std::optional<std::string> running_;
    std::atomic<bool> stopRequested_{false};
    bool paused_ = false;
    bool done_ = false;
    bool toldBusy_ = false;
    bool troubled_ = false;
    bool idle_ = false;  // a shared outbox's last look found nothing to claim
    bool moved_ = false; // the data folder's waiting pages were moved into the shared outbox
    int sent_ = 0;
    int notSent_ = 0;
};

} // namespace zolbin
