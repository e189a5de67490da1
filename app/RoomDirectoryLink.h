// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of a directory the room keeps in its database (records/DeskDirectory): started with
// the window when the settings name a database, it sends what the directory windows saved to the room
// once their command has written its files (a cascade's files together), and brings every other desk's
// save into the lists as the server tells of it. After either, `reload` reads the list files again; a
// refusal is shown once the lists hold what came first. While a subscriber, group or company dialog is
// open the lists are not read again under it: that waits for the dialog to close. Every few seconds it
// looks whether the connection was lost (the desk goes on with its copy) and, while the desk is away,
// whether the server takes a connection again (tried off the window's thread): the desk then catches up
// with the room's latest, listens again and takes edits again.

#include "records/DeskDirectory.h"

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

    // Before the lists are loaded: joins the room (asking whether this desk's directory goes to an empty
    // room) and makes the list files its latest. Nothing happens without a database in the settings.
    void start();
    bool active() const { return desk_ != nullptr && desk_->shared(); }
    // "Изменено: …" of the last version, or the notice that the copy is shown; empty without a room.
    QString statusText() const;

    // Reads the list files into the session again and shows them (the window's reload).
    std::function<void()> reload;
    // Whether a dialog is open over the lists, so that a reload must wait.
    std::function<bool()> busy;

private:
    void written();
    void save();
    void changedElsewhere();
    void reloadWhenFree();
    void checkServer();

    Session& session_;
    std::unique_ptr<DeskDirectory> desk_;
    bool savePending_ = false;
    bool reloadPending_ = false;
    bool probing_ = false;
};

} // namespace zolbin
