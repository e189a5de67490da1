// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window "Zolbin Sender": the message editor, the two recipient lists, the tool bar, the main
// menu and the status bar. It works on the session (settings, directory lists, journal, send parameters),
// which it fills at start-up, and owns the notification-area icon. It hosts the send jobs
// through a send controller (dispatch/SendController): Send hands it the page, which it writes into the
// outbox and sends off the window's thread; the window only shows what it reports (app/MainStatusBar).
//
// The window builds its controls and forwards the operator's commands; the work is done by objects of
// their own: the recipient (app/RecipientChoice), the editor's commands (app/EditorCommands), the lists'
// order and search (app/ListOrdering), the other windows (app/WindowCommands), the sends and the outbox
// (dispatch/SendController) and the status bar that shows them (app/MainStatusBar).
//
// Its controls are its own: each carries its design name as its object name, by which tests find it.
// Each command is one action (action(Command)) that its menu item, tool button and shortcut share.

#include "app/CommandAvailability.h"
#include "app/MessageEditor.h"
#include "app/RecipientLists.h"
#include "dispatch/SendController.h"
#include "records/Session.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace zolbin {

class EditorCommands;
class ListOrdering;
class MainStatusBar;
class RecipientChoice;
class RoomDirectoryLink;
class TrayIcon;
class WindowCommands;
struct Windows;

class TfmSend final : public QMainWindow
{
    Q_OBJECT
public:
    // Builds the window and runs its creation handler, which fills the session (settings, splash,
    // directory, keyboard layout, journal, editor font). The other windows of the set are created after
    // this one: none is touched before a command opens it.
    TfmSend(Session& session, Windows& windows, QWidget* parent = nullptr);
    ~TfmSend() override;

    // Each time the window becomes the active one: the "CAPS" panel, and the settings dialog while no
    // e-mail address is set.
    void FormActivate();
    // After a save refused because a list file changed behind the program's back: drops the recipient
    // and loads the three lists again as at start-up, so that memory and the windows hold what the files
    // hold; the operator then repeats the change.
    void ReloadDirectory();
    // A second start on the same data folder: the window comes to the front, restored (also from the
    // notification area), with a dialog open in it on top.
    void BringForward();
    // Before a send or a directory window: a list file changed behind the window is read again and the
    // operator told (Company.lst alone keeps the recipient; the others drop it). False when the
    // recipient was dropped.
    bool ReloadChangedLists(bool beforeSend);

    // The objects the window's work is done by: its sends (the jobs, the pages waiting for them, the
    // outbox and its worker), the status bar that shows them, the recipient and the editor's commands.
    SendController& sends() const { return *sends_; }
    MainStatusBar& status() const { return *status_; }
    RecipientChoice& recipients() const { return *recipients_; }
    EditorCommands& editing() const { return *editing_; }
    // The room's directory, when the settings name a database (else null).
    RoomDirectoryLink* roomDirectory() const { return room_; }
    bool signatureBlocked() const; // the toggle is down
    // The command's action (menu item, tool button and shortcut).
    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    // The keyboard layout activated at start ("00000419" or "00000409").
    const std::string& layoutName() const { return layoutName_; }
    TrayIcon& trayIcon() { return *tray_; }
    // The SMTP login's password from the secret store; empty without a login or when the store has none.
    std::string SmtpPassword() const;

protected:
    void changeEvent(QEvent* event) override;
    // With pages waiting and no background worker to send them, closing asks first.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One action per command: its menu item, its tool button and its shortcut, in the order of the
    // commands; the tool button of the service functions, which can be off while its menu item is on.
    std::array<QAction*, CommandCount> actions_{};
    QToolButton* serviceButton_ = nullptr;

    // Recipients, descriptions and the message editor.
    QTabWidget* TabbedNotebook1 = nullptr;
    TickList* lbAbonent = nullptr;
    TickList* lbGroup = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* RichEditDesc = nullptr;
    MessageEditor* RichEdit = nullptr;

    // --- Building the window (MainWindowLayout.cpp) ----------------------------------------------------
    void buildUi();
    void buildCentre();
    // The objects that do the window's work, given its controls.
    void buildParts();
    void fixWindowSize();

    // --- Start-up (MainWindowStartup.cpp) ----------------------------------------------------------------
    void FormCreate();
    void loadDirectory();
    // Joins the room's directory when the settings name a database (MainWindowDirectory.cpp).
    void joinRoomDirectory();
    void openJournal();

    // --- Commands and their availability (MainWindow.cpp) ------------------------------------------------
    // Each command's action forwarded to the object that does it.
    void connectCommands();
    // The command's action runs the handler only while the command is available: an action that is off
    // cannot be triggered, and a signal that reaches it anyway runs nothing.
    void onCommand(Command command, std::function<void()> handler);
    // Enables every action, the service tool button and the editor as the availability rule decides for
    // the window's state; called after every change of the state.
    void updateCommands();

    // Sees every key pressed in this window before the control with the focus; true consumes it.
    bool FormKeyDown(QKeyEvent* key);
    void scheduleEMailCheck();
    void checkEMail();
    void showOptions();
    void minimiseToTray();
    void restoreFromTray();

    // --- Sending (MainWindowSend.cpp) --------------------------------------------------------------------
    // A Send with no recipient or no text is refused at once; any other hands the page to the sends.
    void sendPage();
    SendOrder takeSendOrder() const;
    void connectSends();
    // Pages left waiting without the background service: closing asks first.
    bool mayClose();

    // --- Directory windows (MainWindowDirectory.cpp) ---------------------------------------------------
    // Drops the recipient, opens the directory window for its list and refreshes the recipient lists
    // when it closes.
    void openDirectory(const char* kind);

    // The session's parts the window works on, and the other windows.
    Session& session_;
    TSendParams& SendParams;
    std::int16_t& CurGroup; // index of the chosen group, -1 = none
    Windows& windows_;
    ProfileFile& settingsFile_;
    TSettings& settings_;
    TAbonentList& abonents_;
    TGroupList& groups_;
    TProviderList& providers_;
    TJournal& journal_;
    const DataFolder& folder_; // where every file of the session is

    std::string layoutName_;
    TrayIcon* tray_ = nullptr;
    bool optionsShowing_ = false;
    bool emailCheckPending_ = false;
    WindowState state_;
    SendController* sends_ = nullptr;
    MainStatusBar* status_ = nullptr;
    RecipientChoice* recipients_ = nullptr;
    EditorCommands* editing_ = nullptr;
    ListOrdering* ordering_ = nullptr;
    WindowCommands* windowCommands_ = nullptr;
    RoomDirectoryLink* room_ = nullptr; // the room's directory, when the settings name a database
};

} // namespace zolbin
