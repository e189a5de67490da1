// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RoomDirectoryLink.h"

#include "platform/AfterStart.h"
#include "platform/Prompts.h"
#include "records/Session.h"

#include <QTimer>

namespace zolbin {

namespace {

// How often a reload held off by an open dialog looks again.
constexpr int BusyRetryMs = 200;
// How often the desk looks at its connection, and for the server while away.
constexpr int ServerCheckMs = 3000;

} // namespace

RoomDirectoryLink::RoomDirectoryLink(Session& session, QObject* parent) : QObject(parent), session_(session)
{
}

RoomDirectoryLink::~RoomDirectoryLink()
{
    hookLists(false, true);
}

void RoomDirectoryLink::hookLists(bool toRoom, bool synced)
{
    for (WatchedListFile* list :
         {static_cast<WatchedListFile*>(&session_.abonents), static_cast<WatchedListFile*>(&session_.groups),
          static_cast<WatchedListFile*>(&session_.providers)}) {
        list->afterWrite = toRoom ? std::function<void()>([this] { written(); }) : nullptr;
        list->synced = synced;
    }
}

void RoomDirectoryLink::start()
{
    if (session_.settings.OutboxDatabase.empty()) {
        joined_ = true; // nothing to join
        return;
    }
    // A copy cut short by a crash is put back before the window reads the lists.
    RestoreClaimedCopy(session_.folder);
    worker_ = std::make_unique<DeskDirectoryWorker>(session_.settings.OutboxDatabase,
                                                    session_.settings.OutboxDesk, session_.folder);
    connect(worker_.get(), &DeskDirectoryWorker::roomEmpty, this, &RoomDirectoryLink::askToBring);
    connect(worker_.get(), &DeskDirectoryWorker::joined, this, &RoomDirectoryLink::joinedRoom);
    connect(worker_.get(), &DeskDirectoryWorker::saved, this, &RoomDirectoryLink::saved);
    connect(worker_.get(), &DeskDirectoryWorker::changedElsewhere, this,
            &RoomDirectoryLink::changedElsewhere);
    connect(worker_.get(), &DeskDirectoryWorker::checked, this,
            [this](const DeskDirectoryState& state, bool changed) {
                checking_ = false;
                if (state.shared)
                    changedElsewhere(state, changed);
            });
    // A save that comes before the join ends waits for it on the worker.
    hookLists(true, true);
    // Joined once the window is up: the window opens on the desk's copy without waiting for the server.
    afterStart(this, [this] { worker_->open(); });
}

void RoomDirectoryLink::askToBring()
{
    worker_->join(Prompts::ask(tr("Подтверждение"), tr("Перенести справочник этого места в общую базу?")));
}

void RoomDirectoryLink::joinedRoom(const DeskDirectoryState& state, bool changed,
                                   const QStringList& keptAside)
{
    state_ = state;
    joined_ = true;
    if (!state_.shared) {
        hookLists(false, true);
        emit joinEnded();
        return;
    }
    // The list files are the desk's copy: the worker makes them durable once their change has gone.
    hookLists(true, false);
    if (changed || !state_.online)
        reloadWhenFree();
    if (!keptAside.isEmpty())
        Prompts::message(tr("Справочник этого места отличался от общего: его файлы сохранены как %1, показан "
                            "общий справочник.")
                             .arg(keptAside.join(QStringLiteral(", "))),
                         PromptIcon::Information);
    if (!state_.online)
        Prompts::message(state_.status, PromptIcon::Warning);
    auto* check = new QTimer(this);
    connect(check, &QTimer::timeout, this, &RoomDirectoryLink::checkServer);
    check->start(ServerCheckMs);
    emit joinEnded();
}

void RoomDirectoryLink::checkServer()
{
    if (checking_)
        return;
    checking_ = true;
    worker_->check();
}

// A command's saves all run before the window's loop turns again: the room gets them together.
void RoomDirectoryLink::written()
{
    if (savePending_)
        return;
    savePending_ = true;
    QTimer::singleShot(0, this, [this] {
        savePending_ = false;
        worker_->save();
    });
}

void RoomDirectoryLink::saved(const DeskDirectoryState& state, bool changed, const QString& refusal)
{
    state_ = state;
    if (changed)
        reloadWhenFree();
    else if (statusShown)
        statusShown(state_.status); // the lists hold what the window wrote: only the status is new
    if (!refusal.isEmpty())
        Prompts::message(refusal, PromptIcon::Warning);
}

void RoomDirectoryLink::changedElsewhere(const DeskDirectoryState& state, bool changed)
{
    const bool wasOnline = state_.online;
    state_ = state;
    if (changed || state_.online != wasOnline)
        reloadWhenFree(); // the status tells that the copy is shown, or the room's latest again
}

void RoomDirectoryLink::reloadWhenFree()
{
    if (busy && busy()) {
        if (!reloadPending_) {
            reloadPending_ = true;
            QTimer::singleShot(BusyRetryMs, this, [this] {
                reloadPending_ = false;
                reloadWhenFree();
            });
        }
        return;
    }
    if (reload)
        reload();
}

} // namespace zolbin
