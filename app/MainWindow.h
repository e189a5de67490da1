// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window "Zolbin Sender": the message editor, the two recipient lists, the tool bar, the main
// menu and the status bar. It works on the session (settings, directory lists, journal, send parameters),
// which it fills at start-up, and owns the notification-area icon. It hosts the send jobs
// (dispatch/SendJob): Send hands the page to a job that runs off the window's thread, the window shows
// what the job reports and answers its questions, and pages sent while a job runs wait their turn.
//
// Its controls are its own: each carries its design name as its object name, by which tests find it.
// Each command is one action (action(Command)) that its menu item, tool button and shortcut share.

#include "app/CommandAvailability.h"
#include "app/MessageEditor.h"
#include "app/RecipientLists.h"
#include "dispatch/OutboxWorker.h"
#include "dispatch/SendJob.h"
#include "platform/FileLock.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <deque>
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

class TrayIcon;
struct Windows;

class TfmSend final : public QMainWindow, private OutboxWorker::Runner
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

    // What the window shows of its state.
    bool sending() const { return state_.sending; }                     // a send job runs (or waits its turn)
    int queuedSends() const { return static_cast<int>(queue_.size()); } // pages waiting for the job
    // The data folder's outbox, opened on first use (create: also when its file is not there yet; a
    // failure is then shown). Nothing when it is not there or cannot be opened.
    Outbox* outbox(bool create);
    // Sends the next page of the outbox that is due, if any and if the window may now.
    void workOutbox();
    bool signatureBlocked() const; // the toggle is down
    // The command's action (menu item, tool button and shortcut).
    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    bool AnyAbonentTicked() const;
    bool AnyGroupTicked() const;
    int editorFontSize() const;
    // The keyboard layout activated at start ("00000419" or "00000409").
    const std::string& layoutName() const { return layoutName_; }
    TrayIcon& trayIcon() { return *tray_; }

    // Shows the text in the status bar.
    void SetStatusText(const std::string& text);
    // The SMTP login's password from the secret store; empty without a login or when the store has none.
    std::string SmtpPassword() const;
    // The message editor's lines as displayed, and its whole text with the lines joined by CR LF.
    std::vector<std::string> EditorLines() const;
    std::string EditorText() const;
    // How the end of a send is told by a desktop notification (failed: with the error icon): the tray
    // icon's message where there is a notification area, the status bar otherwise; tests record it.
    using SendNotifier = std::function<void(const QString& text, bool failed)>;
    void setSendNotifier(SendNotifier notifier) { sendNotifier_ = std::move(notifier); }
    // The deadlines of the waits of every send the window starts from now on (tests shorten them).
    void setSendDeadlines(const SendDeadlines& deadlines) { sendDeadlines_ = deadlines; }

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

    // Status bar: the status text, the length counter and the Caps Lock indicator.
    QLabel* StatusText = nullptr;
    QLabel* pnlCount = nullptr;
    QLabel* pnlCaps = nullptr;
    // In the permanent area while a group is sent: "n из N" with the member served, and its Cancel.
    QLabel* pnlProgress = nullptr;
    QLabel* pnlOutbox = nullptr;  // how many pages of the outbox wait; a click opens the queue
    QLabel* pnlNotSent = nullptr; // pages that did not go, until the queue is opened on them by a click
    QPushButton* btnCancelSend = nullptr;

    // --- Building the window (MainWindowLayout.cpp) ----------------------------------------------------
    void buildUi();
    void buildToolBar();
    void buildMenus();
    void buildCentre();
    void buildStatusBar();
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
    // The "CAPS" panel: black while Caps Lock is on, silver while it is off.
    void SetCapsIndicator(bool on);
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

    // --- The send job: its start, what it reports, its end (MainWindowJob.cpp) -------------------------
    SendOrder takeSendOrder() const;
    void giveRunParts(SendOrder& order) const;
    void startNextSend();
    void connectJob(SendJob* job);
    void jobStatus(const QByteArray& text);
    void jobMessage(SendJob* job, const QString& text, int notice);
    void jobQuestion(SendJob* job, const QString& text);
    void jobMember(int number, int count, const QByteArray& name);
    // The window's part of the clean-up after a complete send: the service settings, the summary and
    // Label2 as the send took them, the editor (when "Clear" is 1) while it still holds the page sent,
    // the service functions disabled when nothing is ticked.
    void jobCompleted(const SendJob& job);
    void jobFinished();
    void btnCancelSendClick();

    // --- The outbox: the pages written before they go, the retries while the window is open
    // (MainWindowOutbox.cpp) ----------------------------------------------------------------------------
    bool enqueueSend(SendOrder& order);
    void startOutboxWork();
    // OutboxWorker::Runner: a page of the outbox fell due; its job runs as the window's own do.
    void startPage(const OutboxPage& page) override;
    void retryFinished();
    void sendsEnded();
    void updateOutboxCount();
    void releaseQueuedPages();

    // --- What became of the pages: the mark of those that did not go, a group's summary, the question
    // before closing, the notification (MainWindowOutcome.cpp) -------------------------------------------
    void updateNotSentMark();
    void pnlNotSentClick();
    bool statusPanelClicked(QObject* watched, QEvent* event);
    void rememberGroup(const SendOrder& order);
    std::string tellGroupEnd(); // the summary shown, if the send was a group's
    bool mayClose();
    void notifyDesktop(const QString& text, bool failed);

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
    std::unique_ptr<SendJob> job_; // the send running, if any
    SendDeadlines sendDeadlines_;  // given to each job
    // What the window's sends remember of the GSM modems, from one to the next.
    std::shared_ptr<ModemMemory> modems_ = std::make_shared<ModemMemory>();
    std::deque<SendOrder> queue_;          // pages sent while it runs, in their order
    QTimer* statusTail_ = nullptr;         // clears the last text 2000 ms after a send ended
    std::unique_ptr<Outbox> outbox_;       // opened on the window's thread
    SenderLock outboxSending_;             // held while pages of the window's are under way
    OutboxWorker* outboxWorker_ = nullptr; // the retries while the window is open
    std::optional<std::string> retryPage_; // the page the running job tries again
    std::string outboxTrouble_;            // why the outbox could not be opened, once told
    std::string lastStatus_;               // the last text a send showed (its outcome, at the end)
    SendNotifier sendNotifier_;
    std::int64_t notSentSeenMs_ = 0; // pages that ended before were seen in the queue
    // The group the running job sends: its name and the outbox's pages of its members.
    std::optional<std::pair<std::string, std::string>> group_;
    std::string groupSummary_; // its summary, shown once the last text's time is over
};

} // namespace zolbin
