// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outbox: every page, one row per recipient, from before its first byte goes out until it has
// reached its end. A page is written here before anything is sent and each change of its state is
// committed before the step it announces, so that a crash at any moment loses no page and never leaves
// an unsent page marked sent: a page found "sending" by the next worker is "outcome unknown".
//
// This is the whole of what the program asks of the store; `SqlOutbox` keeps it in a database.

#include "directory/SendParams.h"
#include "platform/Result.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zolbin {

enum class PageState : int
{
    Queued = 0,    // waiting for its first attempt
    Sending = 1,   // an attempt is under way
    Sent = 2,      // accepted by the server or terminal
    Waiting = 3,   // failed for a passing reason, tried again at nextAttemptMs
    Failed = 4,    // refused for good, or out of retries
    Unknown = 5,   // an attempt was cut off (the program ended during it): sent or not, nobody knows
    Cancelled = 6, // withdrawn by the operator before it went out
    // A page of a desk's own outbox, kept there while the shared outbox was away, on its way into the
    // shared one: no worker of the desk takes it any more; it leaves the desk's outbox once the shared
    // outbox holds it (its id there tells that it does).
    Moving = 7,
};

namespace FailureCode {
// The shared outbox's server cannot be reached (refused, silent, or its connection lost): the outbox's
// own code beside the program's.
inline constexpr int OutboxAway = 2106;
} // namespace FailureCode

// True for the states a page does not leave by itself.
bool IsFinished(PageState state);

struct OutboxPage
{
    std::string id;                 // given by the outbox when the page is added without one
    std::string batch;              // the pages of one Send command share it
    std::int64_t createdMs = 0;     // milliseconds since the epoch
    TSendParams params;             // the recipient, its company and the service settings, as captured
    std::vector<std::string> lines; // the message's lines as the editor showed them, cp1251
    std::string text;               // the message's whole text, cp1251
    bool signatureBlocked = false;
    PageState state = PageState::Queued;
    int attempts = 0;
    std::int64_t nextAttemptMs = 0; // when it is due (Queued, Waiting)
    std::int64_t deadlineMs = 0;    // createdMs + the retry minutes (the retries' span); 0: no retries
    std::int64_t finishedMs = 0;    // when it reached its end
    std::string lastReply;          // the last reply or error text, cp1251
    // The company's record as the desk saw it when the page was queued (its 292 bytes; empty for a page
    // from before they were kept, or a company the desk did not know), and its gate (-1: not known).
    std::string companyRecord;
    int gate = -1;
    std::string desk;         // the desk that queued the page
    std::string worker;       // the worker that took it last
    std::int64_t leaseMs = 0; // on a shared outbox: until when its worker holds it (the server's clock)
    // A page taken in from another system: the key it gave its request (cp1251; empty when none). Such a
    // page is due when it was made, or held until the moment the system asked for, never by a sender.
    std::optional<std::string> intakeKey;
};

// Who works the outbox through a connection: written on the pages it queues and claims.
struct OutboxIdentity
{
    std::string desk;             // cp1251
    std::string worker;           // cp1251
    std::int64_t leaseMs = 60000; // how long a claim on a shared outbox holds without being renewed
};

// Which pages a worker of a shared outbox takes: those of its gates (bits of the gate numbers; a page of
// an unknown gate goes to any worker).
struct ClaimRequest
{
    std::uint32_t gates = 0x1F;
    int limit = 1;
};

// Which of the recent pages a window lists.
enum class RecentFilter
{
    All,     // every page not finished, and those finished since the moment given
    Pending, // the pages not finished: queued, being sent or waiting for their next attempt
    NotSent, // those finished since the moment given without going out: failed, or the outcome unknown
};

// What the recent pages are ordered by. Pages equal in it keep the order of their ids, reversed with it.
enum class RecentOrder
{
    Created,   // when the page was queued
    Recipient, // the subscriber's name, then his number (an unregistered subscriber has no name)
    Text,      // the message
    Company,
    State,
    Attempts,
    NextAttempt,
    Desk,
    Worker,
    LastReply,
};

struct RecentView
{
    RecentFilter filter = RecentFilter::All;
    RecentOrder order = RecentOrder::Created;
    bool descending = true; // the newest first, by default
};

class Outbox
{
public:
    virtual ~Outbox() = default;

    // Adds the pages in one transaction, each Queued, giving each without an id one. A page due later than
    // it was made (nextAttemptMs) is held by the sender that added it, who claims it itself; should that
    // sender vanish, the next recovery makes it due. A page taken in (intakeKey) due later waits until
    // then. Nothing is added on failure.
    virtual Status Add(std::vector<OutboxPage>& pages) = 0;
    // Takes a Queued or Waiting page for an attempt: Sending, one attempt more. False when the page is no
    // longer there to take (cancelled, or taken by another worker).
    virtual Result<bool> Claim(const std::string& id) = 0;
    // The attempt ended: the page reaches `state` (Sent, Failed, Cancelled) with the reply text.
    virtual Status Finish(const std::string& id, PageState state, const std::string& reply,
                          std::int64_t nowMs) = 0;
    // The attempt failed for a passing reason: Waiting until nextAttemptMs.
    virtual Status Reschedule(const std::string& id, std::int64_t nextAttemptMs,
                              const std::string& reply) = 0;
    // Makes a page due at once (try now), or Queued again (resend after an unknown outcome). False when
    // the page is in no state to be tried.
    virtual Result<bool> Retry(const std::string& id, std::int64_t nowMs) = 0;
    // Withdraws a page that has not gone out (Queued or Waiting). False when it is in another state.
    virtual Result<bool> Cancel(const std::string& id, std::int64_t nowMs) = 0;

    // The pages due by nowMs (Queued or Waiting), oldest first.
    virtual Result<std::vector<OutboxPage>> Due(std::int64_t nowMs) = 0;
    // Brings each Waiting page due later than nowMs + its wait back to that moment, so that a clock set
    // back does not hold it for the whole jump. waitsMs[i] is the wait after i + 1 attempts, the last one
    // also after more.
    virtual Status LimitWaits(std::int64_t nowMs, const std::vector<std::int64_t>& waitsMs) = 0;
    // The moment the next Waiting page falls due, if any.
    virtual Result<std::optional<std::int64_t>> NextDue() = 0;
    // Every page not finished, and those finished since sinceMs, newest first.
    virtual Result<std::vector<OutboxPage>> Recent(std::int64_t sinceMs) = 0;
    virtual Result<std::optional<OutboxPage>> Page(const std::string& id) = 0;
    // How many pages are not finished.
    virtual Result<int> Unfinished() = 0;
    // How many pages wait for an attempt (Queued or Waiting).
    virtual Result<int> Waiting() = 0;
    // How many pages failed for good or ended with their outcome unknown since sinceMs.
    virtual Result<int> NotSent(std::int64_t sinceMs) = 0;
    // How many pages of the batch (one Send command's) are in each state; states without one are left out.
    virtual Result<std::map<PageState, int>> CountBatch(const std::string& batch) = 0;

    // When no sender is at work: every page left Sending by an attempt that was cut off becomes Unknown,
    // and every page still held by a sender that vanished falls due (a page taken in keeps its hold). Gives
    // how many became Unknown.
    virtual Result<int> MarkInterrupted(std::int64_t nowMs) = 0;
    // Deletes the pages finished before beforeMs, but never one of unknown outcome: it waits for the
    // operator to resend it or let it be.
    virtual Status Prune(std::int64_t beforeMs) = 0;

    // A database several machines share: its own clock decides claims, leases and due retries, and its
    // pages are claimed with a lease instead of the data folder's locks. The embedded outbox is not.
    virtual bool Shared() const { return false; }
    // How long a claim on a shared outbox holds without being renewed (0 for the embedded outbox).
    virtual std::int64_t LeaseMs() const { return 0; }
    // How many pages wait for an attempt (Queued or Waiting) in the gates (bits of the gate numbers; a page
    // of an unknown gate counts for every gate).
    virtual Result<int> WaitingIn(std::uint32_t gates) = 0;
    // The shared database's clock in ms since the epoch; nothing for the embedded outbox (whose caller's
    // clock counts).
    virtual Result<std::optional<std::int64_t>> ServerClockMs() { return std::optional<std::int64_t>{}; }
    // A shared outbox: the pages due now in the request's gates, at most its limit of them, taken at once
    // for this worker with a lease (Sending, one attempt more) so that no other worker takes them; each
    // page once. Pages left by a worker whose lease ran out become Unknown first (ExpireLeases).
    virtual Result<std::vector<OutboxPage>> ClaimDue(const ClaimRequest&)
    {
        return std::vector<OutboxPage>{};
    }
    // Keeps the page this worker is sending for another lease. False when it is no longer its page.
    virtual Result<bool> Renew(const std::string&) { return true; }
    // Gives a page this worker claimed and never started back to whoever works the outbox.
    virtual Result<bool> Release(const std::string&) { return false; }
    // Every page "sending" whose lease has run out becomes Unknown; gives how many.
    virtual Result<int> ExpireLeases() { return 0; }
    // The pages the desk queued that reached an end (Sent, Failed, Unknown) after sinceMs (the shared
    // outbox's clock), in the order they ended.
    virtual Result<std::vector<OutboxPage>> EndedFor(const std::string&, std::int64_t)
    {
        return std::vector<OutboxPage>{};
    }
    // Whether the shared outbox's server is away now (its connection lost, not yet made again).
    virtual bool Away() const { return false; }

    // A page's way from a desk's own outbox into the shared one. The desk's outbox takes every page that
    // waits (Queued, Waiting) out of its workers' reach (Moving), giving how many; the shared outbox adds a
    // page under its own id unless it holds that id already (a move cut off before), due at once, waiting
    // again when it had attempts; the desk's outbox then lets the page go.
    virtual Result<int> MarkMoving() { return 0; }
    virtual Result<std::vector<OutboxPage>> MovingPages() { return std::vector<OutboxPage>{}; }
    virtual Status AddMoved(const OutboxPage&) { return {}; }
    virtual Result<bool> RemoveMoved(const std::string&) { return false; }

    // The ids of the pages added since sinceMs with that intake key, in the order of their ids.
    virtual Result<std::vector<std::string>> PagesOfKey(const std::string& key, std::int64_t sinceMs) = 0;

    // The pages of Recent(sinceMs) that pass the filter, a screenful at a time, for a window that shows the
    // outbox: how many there are, and at most limit of them from the offset-th on, in the view's order.
    virtual Result<int> CountRecent(std::int64_t sinceMs, RecentFilter filter) = 0;
    virtual Result<std::vector<OutboxPage>> RecentSlice(std::int64_t sinceMs, const RecentView& view,
                                                        int offset, int limit) = 0;
};

// A new page of a batch of its own, made now and due now: the recipient, company and service settings
// and the message as given.
OutboxPage NewOutboxPage(const TSendParams& params, const std::vector<std::string>& lines,
                         const std::string& text, bool signatureBlocked, std::int64_t nowMs);

// Sends a failed or withdrawn page again as a new page, made from what the old one captured: the same
// recipient, company, service settings and text, due at once for whoever works the outbox, with as long
// for its retries as the old page had. The old page stays as it was. Gives the new page's id, or nothing
// when the page is gone or in another state.
Result<std::optional<std::string>> ResendAsNewPage(Outbox& outbox, const std::string& id, std::int64_t nowMs);

} // namespace zolbin
