// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WorkOutbox.h"

#include "cli/ConsoleHost.h"
#include "cli/DirectoryReader.h"
#include "cli/ExitStatus.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "platform/Codepage.h"
#include "platform/Pause.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <stdexcept>

namespace zolbin {

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void onStopSignal(int)
{
    stopRequested = true;
}

// How often an idle worker looks for new pages and for its turn.
constexpr std::int64_t PollMs = 1000;

// The outbox could not be read or written: held by another program longer than the busy wait, or a
// file error. A worker that follows waits it out; one that works the outbox once ends with a file error.
class OutboxTrouble final : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Worker
{
public:
    Worker(Session& session, const WorkOptions& options, std::ostream& err)
        : session_(session), options_(options), err_(err)
    {
    }

    int run();

private:
    template <typename T> T checked(Result<T> result)
    {
        if (!result)
            throw OutboxTrouble(utf8(result.failure().text));
        return std::move(result.value());
    }
    void say(const std::string& utf8Text)
    {
        if (!options_.quiet)
            err_ << "zolbin-send: " << utf8Text << '\n';
    }
    bool takeTurn();
    bool round();
    void workDue();
    void sendPage(const OutboxPage& page);
    void wait(std::int64_t ms);

    Session& session_;
    const WorkOptions& options_;
    std::ostream& err_;
    std::unique_ptr<Outbox> outbox_;
    FileLock turn_;
    FileLock following_; // held shared while following: the window sees the service runs
    std::shared_ptr<ModemMemory> modems_ = std::make_shared<ModemMemory>();
    bool toldWaiting_ = false;
    bool toldTrouble_ = false;
    int sent_ = 0;
    int notSent_ = 0;
};

// The worker's lock: taken when free; a worker that finds another at work waits for its turn.
bool Worker::takeTurn()
{
    switch (turn_.take(session_.folder.path(OutboxWorkerLockName))) {
    case FileLock::Result::Taken:
        toldWaiting_ = false;
        return true;
    case FileLock::Result::Unavailable:
        throw FileError(std::string(OutboxWorkerLockName) + ": " +
                        utf8(Failure::fromErrno(turn_.error()).text));
    case FileLock::Result::Busy:
        break;
    }
    if (!toldWaiting_)
        say("очередь сообщений обрабатывает другая программа (окно Zolbin Sender или служба); ожидание");
    toldWaiting_ = true;
    return false;
}

void Worker::sendPage(const OutboxPage& page)
{
    SendOrder order = OrderOfPage(page, session_.providers, session_.folder);
    ConsoleHost host(session_, page.lines, page.text, page.signatureBlocked, options_.quiet, false, err_);
    host.setRecipient(!page.params.CurName.empty() ? page.params.CurName
                                                   : std::to_string(page.params.CurNumber));
    host.Deadlines = options_.deadlines;
    if (options_.prepareHost)
        options_.prepareHost(host);
    order.modems = modems_;
    SendJob job(std::move(order));
    job.runWith(host);
    const std::optional<OutboxPage> after = checked(outbox_->Page(page.id));
    if (!after)
        return;
    if (after->state == PageState::Sent)
        ++sent_;
    else if (IsFinished(after->state))
        ++notSent_;
}

void Worker::workDue()
{
    const int unknown = checked(RecoverOutbox(*outbox_, session_.folder, NowMs()));
    if (unknown > 0) {
        say("сообщений с неизвестным исходом (отправка была прервана): " + std::to_string(unknown));
        notSent_ += unknown;
    }
    const std::vector<OutboxPage> due = checked(DuePages(*outbox_, NowMs()));
    if (due.empty())
        return;
    // The companies as they are now: the directory may have changed since the page was queued.
    ReadDirectory(session_);
    if (options_.adjustSettings)
        options_.adjustSettings(session_);
    SenderLock sending;
    if (Status held = sending.hold(session_.folder); !held)
        throw FileError(utf8(held.failure().text));
    for (const OutboxPage& page : due) {
        if (stopRequested)
            break;
        sendPage(page);
    }
}

void Worker::wait(std::int64_t ms)
{
    for (std::int64_t left = ms; left > 0 && !stopRequested; left -= 100)
        Pause(static_cast<unsigned>(std::min<std::int64_t>(left, 100)));
}

// One look at the outbox: false when the work is done.
bool Worker::round()
{
    if (!outbox_) {
        outbox_ = checked(OpenFolderOutbox(session_.folder));
        (void)PruneOutbox(*outbox_, session_.settings.OutboxKeepDays, NowMs());
    }
    // Taken again should it have been missed (a window looking at that moment holds it briefly).
    if (options_.follow && !following_.held())
        (void)following_.take(session_.folder.path(OutboxFollowerLockName), FileLock::Mode::Shared);
    if (!turn_.held() && !takeTurn()) {
        wait(PollMs);
        return true;
    }
    workDue();
    if (toldTrouble_)
        say("очередь сообщений снова доступна");
    toldTrouble_ = false;
    if (!options_.follow && checked(outbox_->Unfinished()) == 0)
        return false;
    // Following, the turn is given up between rounds: the window, when opened, takes it.
    if (options_.follow)
        turn_.release();
    const std::optional<std::int64_t> next = checked(outbox_->NextDue());
    const std::int64_t untilDue = next ? *next - NowMs() : PollMs;
    wait(std::clamp<std::int64_t>(untilDue, 0, PollMs));
    return true;
}

int Worker::run()
{
    while (!stopRequested) {
        try {
            if (!round())
                break;
        } catch (const OutboxTrouble& trouble) {
            if (!options_.follow)
                throw FileError(trouble.what());
            // A service keeps going: the trouble is told once, and the outbox looked at again later.
            if (!toldTrouble_)
                err_ << "zolbin-send: " << trouble.what() << "; ожидание\n" << std::flush;
            toldTrouble_ = true;
            turn_.release();
            wait(PollMs);
        }
    }
    outbox_.reset();
    say("очередь обработана: отправлено " + std::to_string(sent_) + ", не отправлено " +
        std::to_string(notSent_));
    return notSent_ == 0 ? ExitStatus::Accepted : ExitStatus::NotAccepted;
}

} // namespace

void StopOutboxWork()
{
    stopRequested = true;
}

int WorkOutbox(Session& session, const WorkOptions& options, std::ostream& err)
{
    stopRequested = false;
    const auto previousTerm = std::signal(SIGTERM, onStopSignal);
    const auto previousInt = std::signal(SIGINT, onStopSignal);
    struct Restore
    {
        decltype(previousTerm) term, interrupt;
        ~Restore()
        {
            std::signal(SIGTERM, term);
            std::signal(SIGINT, interrupt);
        }
    } restore{previousTerm, previousInt};
    return Worker(session, options, err).run();
}

} // namespace zolbin
