// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/OutboxLocks.h"

#include "platform/Codepage.h"
#include "platform/Pause.h"
#include "records/SqlOutbox.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace zolbin {

namespace {

Failure lockFailure(int error)
{
    Failure failure = Failure::fromErrno(error);
    failure.code = FailureCode::Outbox;
    failure.text =
        tx("Outbox", "Очередь сообщений недоступна: %1: %2").arg(OutboxSendersLockName).arg(failure.text);
    return failure;
}

} // namespace

OutboxPlace PlaceOf(const TSettings& settings, const DataFolder& folder)
{
    OutboxPlace place;
    place.folder = folder;
    place.database = settings.OutboxDatabase;
    place.who.desk = settings.OutboxDesk;
    place.who.worker = settings.OutboxDesk + "/" + std::to_string(getpid());
    return place;
}

Result<std::unique_ptr<Outbox>> OpenOutbox(const OutboxPlace& place)
{
    Result<std::unique_ptr<SqlOutbox>> opened =
        place.shared() ? SqlOutbox::OpenShared(place.database, place.who)
                       : SqlOutbox::Open(place.folder.path(OutboxFileName), OutboxFileName, place.who);
    if (!opened)
        return opened.failure();
    return std::unique_ptr<Outbox>(std::move(opened.value()));
}

Result<Text> CheckSharedOutbox(const std::string& database)
{
    OutboxPlace place;
    place.database = database;
    Result<std::unique_ptr<Outbox>> opened = OpenOutbox(place);
    if (!opened)
        return opened.failure();
    const Result<int> unfinished = opened.value()->Unfinished();
    if (!unfinished)
        return unfinished.failure();
    return tx("OutboxPlace", "Общая очередь доступна; сообщений, не дошедших до конца: %1")
        .arg(unfinished.value());
}

Result<std::unique_ptr<Outbox>> OpenFolderOutbox(const DataFolder& folder)
{
    OutboxPlace place;
    place.folder = folder;
    return OpenOutbox(place);
}

Result<DeskOutbox> OpenDeskOutbox(const OutboxPlace& place)
{
    DeskOutbox desk{nullptr, place, std::nullopt};
    Result<std::unique_ptr<Outbox>> opened = OpenOutbox(place);
    if (opened) {
        desk.outbox = std::move(opened.value());
        if (place.shared())
            (void)MoveWaitingPages(place.folder, *desk.outbox);
        return desk;
    }
    if (!place.shared() || opened.failure().code != FailureCode::OutboxAway)
        return opened.failure();
    desk.away = opened.failure();
    desk.place.database.clear();
    Result<std::unique_ptr<Outbox>> own = OpenOutbox(desk.place);
    if (!own)
        return own.failure();
    desk.outbox = std::move(own.value());
    return desk;
}

Result<int> MoveWaitingPages(const DataFolder& folder, Outbox& shared)
{
    std::error_code error;
    if (!shared.Shared() || !std::filesystem::exists(folder.path(OutboxFileName), error))
        return 0;
    Result<std::unique_ptr<Outbox>> own = OpenFolderOutbox(folder);
    if (!own)
        return own.failure();
    Outbox& local = *own.value();
    // Out of the desk's workers' reach before the shared outbox has them; those of a move cut off
    // before are in that state already.
    if (const Result<int> marked = local.MarkMoving(); !marked)
        return marked.failure();
    const Result<std::vector<OutboxPage>> moving = local.MovingPages();
    if (!moving)
        return moving.failure();
    int moved = 0;
    for (const OutboxPage& page : moving.value()) {
        if (Status added = shared.AddMoved(page); !added)
            return added.failure();
        const Result<bool> removed = local.RemoveMoved(page.id);
        if (!removed)
            return removed.failure();
        moved += removed.value() ? 1 : 0;
    }
    return moved;
}

Status SenderLock::hold(const DataFolder& folder)
{
    if (lock_.held())
        return {};
    // Shared: it waits for nobody but a recovery, which holds it only for a moment.
    for (int attempt = 0;; ++attempt) {
        switch (lock_.take(folder.path(OutboxSendersLockName), FileLock::Mode::Shared)) {
        case FileLock::Result::Taken:
            return {};
        case FileLock::Result::Unavailable:
            return lockFailure(lock_.error());
        case FileLock::Result::Busy:
            if (attempt == 200)
                return lockFailure(EBUSY);
            Pause(10);
            break;
        }
    }
}

bool OutboxFollowerRunning(const DataFolder& folder)
{
    // The follower makes the file: without it, nobody follows (and no file is left behind by asking).
    std::error_code error;
    if (!std::filesystem::exists(folder.path(OutboxFollowerLockName), error))
        return false;
    FileLock probe;
    return probe.take(folder.path(OutboxFollowerLockName)) == FileLock::Result::Busy;
}

Result<int> RecoverOutbox(Outbox& outbox, const DataFolder& folder, std::int64_t nowMs)
{
    FileLock alone;
    switch (alone.take(folder.path(OutboxSendersLockName))) {
    case FileLock::Result::Busy:
        return 0;
    case FileLock::Result::Unavailable:
        return lockFailure(alone.error());
    case FileLock::Result::Taken:
        break;
    }
    return outbox.MarkInterrupted(nowMs);
}

} // namespace zolbin
