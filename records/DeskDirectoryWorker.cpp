// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DeskDirectoryWorker.h"

#include "platform/Codepage.h"

#include <utility>

namespace zolbin {

// The desk's directory and its connection, on the worker's thread.
class DeskDirectoryWorker::Host final : public QObject
{
public:
    Host(DeskDirectoryWorker& worker, std::string database, std::string desk, DataFolder folder)
        : worker_(worker), database_(std::move(database)), desk_(std::move(desk)), folder_(std::move(folder))
    {
    }

    void open()
    {
        directory_ = DeskDirectory::Open(database_, desk_, folder_);
        if (directory_->roomEmpty())
            emit worker_.roomEmpty();
        else
            join(false);
    }

    void join(bool bring)
    {
        if (!directory_)
            return;
        const bool changed = directory_->Join(bring);
        QStringList kept;
        for (const std::string& name : directory_->keptAside())
            kept << toQString(name);
        // A subscription is renewed by the directory with each new connection.
        if (directory_->shared())
            (void)directory_->WatchChanges(this, [this] { refresh(); });
        emit worker_.joined(state(), changed, kept);
        if (std::exchange(saveWaiting_, false))
            save();
    }

    void save()
    {
        if (!directory_ || directory_->roomEmpty()) {
            saveWaiting_ = true; // made once the desk has joined
            return;
        }
        if (!directory_->shared())
            return;
        const Result<bool> saved = directory_->SaveFolder();
        emit worker_.saved(state(), !saved || saved.value(), saved ? QString() : saved.failure().shown());
    }

    void check()
    {
        if (!directory_ || !directory_->shared()) {
            emit worker_.checked(DeskDirectoryState{}, false);
            return;
        }
        bool changed = false;
        if (directory_->online())
            (void)directory_->ConnectionLost();
        else {
            // Connects (waiting for the server a few seconds at most), takes the room's latest, listens
            // again.
            const Result<bool> refreshed = directory_->Refresh();
            changed = refreshed && refreshed.value();
        }
        emit worker_.checked(state(), changed);
    }

private:
    void refresh()
    {
        const bool wasOnline = directory_->online();
        // The window reads the new lists while they are made durable.
        const Result<bool> changed = directory_->Refresh(true);
        if ((changed && changed.value()) || directory_->online() != wasOnline)
            emit worker_.changedElsewhere(state(), changed && changed.value());
        (void)directory_->Seal();
    }

    DeskDirectoryState state() const
    {
        DeskDirectoryState s;
        s.shared = directory_->shared();
        s.online = directory_->online();
        if (s.shared)
            s.status = (s.online ? directory_->lastChange() : directory_->notice()).shown();
        return s;
    }

    DeskDirectoryWorker& worker_;
    std::string database_;
    std::string desk_;
    DataFolder folder_;
    std::unique_ptr<DeskDirectory> directory_;
    bool saveWaiting_ = false;
};

DeskDirectoryWorker::DeskDirectoryWorker(std::string database, std::string desk, DataFolder folder,
                                         QObject* parent)
    : QObject(parent), thread_(std::make_unique<QThread>())
{
    thread_->setObjectName(QStringLiteral("room directory"));
    host_ = new Host(*this, std::move(database), std::move(desk), std::move(folder));
    host_->moveToThread(thread_.get());
    thread_->start();
}

DeskDirectoryWorker::~DeskDirectoryWorker()
{
    QMetaObject::invokeMethod(host_, [host = host_] {
        delete host;
        QThread::currentThread()->quit();
    });
    thread_->wait();
}

template <typename Call> void DeskDirectoryWorker::post(Call call)
{
    QMetaObject::invokeMethod(host_, [host = host_, call] { call(*host); });
}

void DeskDirectoryWorker::open()
{
    post([](Host& host) { host.open(); });
}

void DeskDirectoryWorker::join(bool bring)
{
    post([bring](Host& host) { host.join(bring); });
}

void DeskDirectoryWorker::save()
{
    post([](Host& host) { host.save(); });
}

void DeskDirectoryWorker::check()
{
    post([](Host& host) { host.check(); });
}

} // namespace zolbin
