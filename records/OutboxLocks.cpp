// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/OutboxLocks.h"

#include "platform/Codepage.h"
#include "platform/Pause.h"
#include "records/SqlOutbox.h"

#include <cerrno>
#include <filesystem>

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

Result<std::unique_ptr<Outbox>> OpenFolderOutbox(const DataFolder& folder)
{
    Result<std::unique_ptr<SqlOutbox>> opened = SqlOutbox::Open(folder.path(OutboxFileName), OutboxFileName);
    if (!opened)
        return opened.failure();
    return std::unique_ptr<Outbox>(std::move(opened.value()));
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
