// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands that open the program's other windows: help at its contents page, the
// ticked subscriber's archive, the deletion of archives, the queue window "Очередь сообщений", the journal
// and its deletion, the notice and the about box.

#include "records/Session.h"

#include <QObject>

class QWidget;

namespace zolbin {

class EditorCommands;
class RecipientChoice;
class SendController;
struct Windows;

class WindowCommands final : public QObject
{
    Q_OBJECT
public:
    WindowCommands(QWidget& window, Session& session, Windows& windows, RecipientChoice& recipients,
                   EditorCommands& editing, SendController& sends);

    void showHelp();
    void showArchive();
    void deleteArchives();
    // Not modal: it stays open beside the main window.
    void showQueue();
    // The queue window on the pages that did not go.
    void showNotSent();
    void showJournal();
    void deleteJournal();
    void showNotice();
    void showAbout();

private:
    QWidget& window_;
    Session& session_;
    Windows& windows_;
    RecipientChoice& recipients_;
    EditorCommands& editing_;
    SendController& sends_;
};

} // namespace zolbin
