// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A desk's directory in the room (DeskDirectory) on a thread of its own: its connection and every round
// trip to the server live there, so that the window opens at once on its copy and never waits for the
// server. Each call returns at once and runs on that thread in the order made; what it found comes back
// through the signals, on the thread that made the worker.

#include "records/DeskDirectory.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>
#include <string>

namespace zolbin {

// What the window shows of the room's directory.
struct DeskDirectoryState
{
    bool shared = false; // the desk's directory is the room's
    bool online = false;
    QString status; // "Изменено: …", or the notice that the copy is shown
};

class DeskDirectoryWorker final : public QObject
{
    Q_OBJECT

public:
    DeskDirectoryWorker(std::string database, std::string desk, DataFolder folder, QObject* parent = nullptr);
    // Waits for the call running, if any: the connection is closed on its own thread.
    ~DeskDirectoryWorker() override;

    // Connects and reads the room's latest: roomEmpty() when it holds no directory yet (join() is then
    // told whether this desk's goes there), else the desk joins at once (joined()).
    void open();
    void join(bool bring);
    // After the windows rewrote list files: saved().
    void save();
    // Whether the connection was lost, or, while away, whether the server is back: checked().
    void check();

signals:
    void roomEmpty();
    // `changed`: the list files were made the room's (read them again); `keptAside`: the desk's own files
    // put aside when it first joined.
    void joined(const zolbin::DeskDirectoryState& state, bool changed, const QStringList& keptAside);
    // `changed`: the files differ from what the windows wrote (read them again); `refusal`: why the
    // change was not kept (the files then hold what came first), else empty.
    void saved(const zolbin::DeskDirectoryState& state, bool changed, const QString& refusal);
    // Another desk's save was taken (`changed`: the files changed), or the desk went away or came back.
    void changedElsewhere(const zolbin::DeskDirectoryState& state, bool changed);
    // What check() found (`changed`: the desk was back and took the room's latest).
    void checked(const zolbin::DeskDirectoryState& state, bool changed);

private:
    class Host;
    template <typename Call> void post(Call call);

    std::unique_ptr<QThread> thread_;
    Host* host_ = nullptr; // lives on thread_
};

} // namespace zolbin
