// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who may work the data folder's outbox. Two locks in the folder, both dropped by the system with their
// process however it ends:
//  - the worker's: one program at a time sends the pages that fall due (the window while it is open,
//    else `zolbin-send --work-outbox`);
//  - the senders': every program that has pages of its own under way (a send from the window or from
//    `zolbin-send`, a worker's attempt) holds it shared. A page "sending" or held by a sender is
//    recovered (made unknown, or due) only while nobody holds it.
// A third tells whether the background worker runs: `zolbin-send --work-outbox --follow` holds it shared
// for its whole run (it gives up the worker's lock between rounds, so that one cannot tell).

#include "directory/Settings.h"
#include "platform/DataFolder.h"
#include "platform/FileLock.h"
#include "records/Outbox.h"

#include <memory>

namespace zolbin {

inline constexpr const char* OutboxWorkerLockName = ".outbox.lock";
inline constexpr const char* OutboxSendersLockName = ".outbox-senders.lock";
inline constexpr const char* OutboxFollowerLockName = ".outbox-follow.lock";
// How long a sender holds the pages it added for itself before another may take them.
inline constexpr std::int64_t SenderHoldMs = 60LL * 60 * 1000;

// Where the outbox is and who works it: the data folder's "Outbox.db" (and its locks), or the database a
// room shares (section "Outbox", key "Database"), where the file locks play no part.
struct OutboxPlace
{
    DataFolder folder = DataFolder::Current();
    std::string database; // empty: the folder's Outbox.db; else the shared database's address
    OutboxIdentity who;
    bool shared() const { return !database.empty(); }
};

// The place the settings name: this desk, and a worker named after it and this process.
OutboxPlace PlaceOf(const TSettings& settings, const DataFolder& folder);

// The outbox of the place, opened for the calling thread.
Result<std::unique_ptr<Outbox>> OpenOutbox(const OutboxPlace& place);
// The data folder's outbox, opened for the calling thread.
Result<std::unique_ptr<Outbox>> OpenFolderOutbox(const DataFolder& folder);

// The outbox a desk writes its pages into: the place's, or, when the shared outbox's server cannot be
// reached, the data folder's own "Outbox.db" (`away` tells why: the desk says so). A shared outbox that
// opens takes first what waits in the folder's outbox (MoveWaitingPages).
struct DeskOutbox
{
    std::unique_ptr<Outbox> outbox;
    OutboxPlace place; // where it is: the folder's own when the shared outbox was away
    std::optional<Failure> away;
};
Result<DeskOutbox> OpenDeskOutbox(const OutboxPlace& place);

// Moves the pages that wait in the data folder's outbox (kept there while the shared outbox was away)
// into the shared outbox, each once, also after a move cut off before; gives how many. Nothing when the
// folder has no outbox.
Result<int> MoveWaitingPages(const DataFolder& folder, Outbox& shared);

// Connects to a shared outbox (its tables made or brought up to date as at any first use) and says what
// it found: how many pages it holds not finished, cp1251; or why it cannot be used.
Result<Text> CheckSharedOutbox(const std::string& database);

// A sender's share of the senders' lock.
class SenderLock final
{
public:
    Status hold(const DataFolder& folder);
    void release() { lock_.release(); }
    bool held() const { return lock_.held(); }

private:
    FileLock lock_;
};

// Whether a worker that follows the data folder's outbox (the background service) runs now: someone holds
// the follower's lock. Never waits.
bool OutboxFollowerRunning(const DataFolder& folder);

// Recovers what vanished senders left when none is at work (else nothing is done and 0 is given): pages
// "sending" become "outcome unknown" (their number is given) and held pages fall due.
Result<int> RecoverOutbox(Outbox& outbox, const DataFolder& folder, std::int64_t nowMs);

} // namespace zolbin
