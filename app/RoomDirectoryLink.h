// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of a directory the room keeps in its database (records/DeskDirectoryWorker): started
// with the window when the settings name a database. The window opens on the desk's copy at once; the
// room is joined on the worker's thread (asking, when the room holds no directory yet, whether this
// desk's goes there), and the lists are read again if the room's differ. It sends what the directory
// windows saved to the room once their command has written its files (a cascade's files together), and
// brings every other desk's save into the lists as the server tells of it. After either, `reload` reads
// the list files again; a refusal is shown once the lists hold what came first. While a subscriber,
// group or company dialog is open the lists are not read again under it: that waits for the dialog to
// close. Every few seconds it has the worker look whether the connection was lost (the desk goes on with
// its copy) and, while the desk is away, whether the server is back: the desk then catches up with the
// room's latest, listens again and takes edits again.

#include "records/DeskDirectoryWorker.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace zolbin {

struct Session;

class RoomDirectoryLink final : public QObject
{
    Q_OBJECT

public:
    RoomDirectoryLink(Session& session, QObject* parent);
    ~RoomDirectoryLink() override;

    // Starts joining the room; nothing happens without a database in the settings.
    void start();
    bool active() const { return state_.shared; }
    // Whether the join has ended (the desk's directory is the room's, or the desk stays on its own).
    bool joined() const { return joined_; }
    // "Изменено: …" of the last version, or the notice that the copy is shown; empty without a room.
    QString statusText() const { return state_.status; }

    // Reads the list files into the session again and shows them (the window's reload).
    std::function<void()> reload;
    // Shows a new status when the lists stay as they are (after this desk's own save).
    std::function<void(const QString&)> statusShown;
    // Whether a dialog is open over the lists, so that a reload must wait.
    std::function<bool()> busy;

signals:
    void joinEnded();

private:
    void askToBring();
    void joinedRoom(const DeskDirectoryState& state, bool changed, const QStringList& keptAside);
    void written();
    void saved(const DeskDirectoryState& state, bool changed, const QString& refusal);
    void changedElsewhere(const DeskDirectoryState& state, bool changed);
    void reloadWhenFree();
    // Whether the lists' saves go to the room, and whether they wait for the disk themselves.
    void hookLists(bool toRoom, bool synced);
    void checkServer();

    Session& session_;
    std::unique_ptr<DeskDirectoryWorker> worker_;
    DeskDirectoryState state_;
    bool joined_ = false;
    bool savePending_ = false;
    bool reloadPending_ = false;
    bool checking_ = false;
};

} // namespace zolbin
