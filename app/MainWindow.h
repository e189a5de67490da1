// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window "Zolbin Sender": the message editor, the two recipient lists, the tool bar, the main
// menu and the status bar. It works on the session (settings, directory lists, journal, send parameters),
// which it fills at start-up, and owns the notification-area icon. It hosts the send jobs
// through a send controller (dispatch/SendController): Send hands it the page, which it writes into the
// outbox and sends off the window's thread; the window only shows what it reports (app/MainStatusBar).
//
// Its controls are its own: each carries its design name as its object name, by which tests find it.
// Each command is one action (action(Command)) that its menu item, tool button and shortcut share.

#include "app/CommandAvailability.h"
#include "app/MessageEditor.h"
#include "app/RecipientLists.h"
#include "dispatch/SendController.h"
#include "platform/FileLock.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;

namespace zolbin {

class MainStatusBar;
class TrayIcon;
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

    // The window's sends (the jobs, the pages waiting for them, the outbox and its worker), and its
    // status bar, which shows them.
    SendController& sends() { return *sends_; }
    const SendController& sends() const { return *sends_; }
    MainStatusBar& status() { return *status_; }
    bool signatureBlocked() const; // the toggle is down
    // The command's action (menu item, tool button and shortcut).
    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    bool AnyAbonentTicked() const;
    bool AnyGroupTicked() const;
    int editorFontSize() const;
    // The keyboard layout activated at start ("00000419" or "00000409").
    const std::string& layoutName() const { return layoutName_; }
    TrayIcon& trayIcon() { return *tray_; }

    // The SMTP login's password from the secret store; empty without a login or when the store has none.
    std::string SmtpPassword() const;
    // The message editor's lines as displayed, and its whole text with the lines joined by CR LF.
    std::vector<std::string> EditorLines() const;
    std::string EditorText() const;

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
    // The search panel "  Поиск:" over the description pane, hidden until the first search key, and
    // its field, which only the search fills.
    QWidget* Panel5 = nullptr;
    QLineEdit* EditFind = nullptr;

    // --- Building the window (MainWindowLayout.cpp) ----------------------------------------------------
    void buildUi();
    void buildToolBar();
    void buildMenus();
    void buildCentre();
    void fixWindowSize();

    // --- Start-up (MainWindowStartup.cpp) ----------------------------------------------------------------
    void FormCreate();
    void loadDirectory();
    void openJournal();
    // Refills lbAbonent ("Name -- Number") and lbGroup from the lists, all unticked.
    void RefillRecipientLists();

    // --- Commands and their availability (MainWindow.cpp) ------------------------------------------------
    void connectCommands();
    void connectRecipients();        // MainWindowRecipients.cpp
    void connectDirectoryCommands(); // MainWindowDirectory.cpp
    void connectOrderingCommands();  // MainWindowOrdering.cpp
    void connectEditingCommands();   // MainWindowEditing.cpp
    // The command's action runs the handler only while the command is available: an action that is off
    // cannot be triggered, and a signal that reaches it anyway runs nothing.
    void onCommand(Command command, std::function<void()> handler);
    // Enables every action, the service tool button and the editor as the availability rule decides for
    // the window's state; called after every change of the state.
    void updateCommands();

    void exitProgram();
    void showNotice();
    void showAbout();
    // Sees every key pressed in this window before the control with the focus; true consumes it.
    bool FormKeyDown(QKeyEvent* key);
    void scheduleEMailCheck();
    void checkEMail();
    void showOptions();
    void minimiseToTray();
    void restoreFromTray();

    // --- The recipient: one ticked subscriber, one ticked group, or nothing (MainWindowRecipients.cpp) --
    void lbAbonentClickCheck(int row);
    void lbGroupClickCheck(int row);
    void RichEditChange();
    void TabbedNotebook1Change(int index);
    // Drops the recipient before the directory changes under it: no recipient, no deferral, a
    // read-only editor, no ticks in either list.
    void DropRecipient();
    void showNothingChosen();
    void openEditor(std::int32_t maxLen);
    void setServiceFunctions(bool enabled);
    void untick(TickList* list, int except = -1);

    // --- Sending, the service functions and the unregistered subscriber (MainWindowSend.cpp) -----------
    void sendPage();
    void showServiceDialog();
    void showUnlistedDialog();
    // The service dialog's summary of deferral and repeats; the reset of the service settings.
    std::string serviceSummary() const;
    void clearServiceSummary();
    void resetServiceSettings();

    // --- The sends as the window hands them over and takes their end (MainWindowJob.cpp) --------------
    SendOrder takeSendOrder() const;
    void connectSends();
    // The window's part of the clean-up after a complete send: the service settings, the summary and
    // Label2 as the send took them, the editor (when "Clear" is 1) while it still holds the page sent,
    // the service functions disabled when nothing is ticked.
    void sendCompleted(const TSendParams& taken, const std::string& takenText);
    // Pages left waiting without the background service: closing asks first.
    bool mayClose();

    // --- Directory windows (MainWindowDirectory.cpp) ---------------------------------------------------
    // Each drops the recipient, opens the directory window for its list and refreshes the recipient
    // lists when it closes.
    void openSubscribers();
    void openGroups();
    void openCompanies();
    void openDirectory(const char* kind);

    // --- List ordering and search (MainWindowOrdering.cpp) ---------------------------------------------
    // Sort by name (either page), move the highlighted entry up or down, sort subscribers by number.
    // Each drops the recipient first and rewrites the list's file at once.
    void sortByName();
    void moveUp();
    void moveDown();
    void sortByNumber();
    bool onSubscribersPage() const;
    TickList* shownList() const;
    void moveHighlighted(int step);
    void rewriteAndRefill(bool subscribers, int highlight);
    // The incremental search, seeing every key of FormKeyDown: Ctrl with a letter, digit or one of
    // ; , . [ ] ' extends the text and highlights the first subscriber it begins; any other key closes
    // the panel. True when the key was taken.
    bool SearchKeyDown(QKeyEvent* key);
    void buildSearchPanel();
    void openSearch();
    bool closeSearch();
    // The message editor's editing keys (Ctrl with the keys of A, C, V, X, Z, Y, in any layout): select
    // all, copy, paste, cut, undo and redo in the editor, which keeps the focus; a search panel still
    // shown closes, as for any key that is no search key. True when the key was one of them.
    bool EditorKeyDown(QKeyEvent* key);

    // --- Editing commands, help, journal and archive windows (MainWindowEditing.cpp) -------------------
    // The message editor: clear, copy and cut (one paste each), paste, the editor's one-level undo.
    void clearEditor();
    void copyBlock();
    void cutBlock();
    void pasteBlock();
    void undoEdit();
    void setPasteAvailable(bool available);
    // The editor's font: 2 points up (below 20) or down (from 8), and stored as "FontSize".
    void enlargeFont();
    void shrinkFont();
    void storeFontSize();
    void changeEditorFont(int points);
    // Help at its contents page.
    void showHelp();
    // The archive of the ticked subscriber, deleting archives, the journal and deleting it, the queue
    // window "Очередь сообщений".
    void showArchive();
    void deleteArchives();
    void showJournal();
    void deleteJournal();
    void showQueue();

    class EditorUndo;
    EditorUndo* editorUndo_ = nullptr;

    // The session's parts the window works on, and the other windows.
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
};

} // namespace zolbin
