// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RoomDirectoryLink.h"

#include "platform/Codepage.h"
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
    session_.abonents.afterWrite = nullptr;
    session_.groups.afterWrite = nullptr;
    session_.providers.afterWrite = nullptr;
}

void RoomDirectoryLink::start()
{
    if (session_.settings.OutboxDatabase.empty())
        return;
    desk_ = DeskDirectory::Start(
        session_.settings.OutboxDatabase, session_.settings.OutboxDesk, session_.folder, [] {
            return Prompts::ask(tr("Подтверждение"), tr("Перенести справочник этого места в общую базу?"));
        });
    if (!desk_->shared())
        return;
    if (!desk_->keptAside().empty()) {
        QString names;
        for (const std::string& name : desk_->keptAside())
            names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + toQString(name);
        Prompts::message(tr("Справочник этого места отличался от общего: его файлы сохранены как %1, показан "
                            "общий справочник.")
                             .arg(names),
                         PromptIcon::Information);
    }
    if (!desk_->online())
        Prompts::message(desk_->notice().shown(), PromptIcon::Warning);
    for (WatchedListFile* list :
         {static_cast<WatchedListFile*>(&session_.abonents), static_cast<WatchedListFile*>(&session_.groups),
          static_cast<WatchedListFile*>(&session_.providers)})
        list->afterWrite = [this] { written(); };
    desk_->WatchChanges(this, [this] { changedElsewhere(); });
    auto* check = new QTimer(this);
    connect(check, &QTimer::timeout, this, [this] { checkServer(); });
    check->start(ServerCheckMs);
}

void RoomDirectoryLink::checkServer()
{
    if (probing_)
        return;
    if (desk_->online()) {
        if (!desk_->ConnectionLost())
            return;
        reloadWhenFree(); // the status tells that the copy is shown
    }
    probing_ = true;
    desk_->ProbeServer(this, [this](bool answers) {
        probing_ = false;
        if (!answers || desk_->online())
            return;
        // Connects, takes the room's latest and listens again.
        (void)desk_->Refresh();
        if (desk_->online())
            reloadWhenFree();
    });
}

QString RoomDirectoryLink::statusText() const
{
    if (!active())
        return {};
    return desk_->online() ? desk_->lastChange().shown() : desk_->notice().shown();
}

// A command's saves all run before the window's loop turns again: the room gets them together.
void RoomDirectoryLink::written()
{
    if (savePending_)
        return;
    savePending_ = true;
    QTimer::singleShot(0, this, [this] { save(); });
}

void RoomDirectoryLink::save()
{
    savePending_ = false;
    const Status saved = desk_->SaveFolder();
    reloadWhenFree();
    if (!saved)
        Prompts::message(saved.failure().shown(), PromptIcon::Warning);
}

void RoomDirectoryLink::changedElsewhere()
{
    const Result<bool> changed = desk_->Refresh();
    if (changed && changed.value())
        reloadWhenFree();
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
