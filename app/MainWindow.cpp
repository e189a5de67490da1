// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "app/EditorCommands.h"
#include "app/ListOrdering.h"
#include "app/MainStatusBar.h"
#include "app/MessageEditor.h"
#include "app/RecipientChoice.h"
#include "app/WindowCommands.h"
#include "app/Windows.h"
#include "dialogs/Options.h"
#include "directory/ui/Registr.h"
#include "platform/ui/CapsLock.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/LayoutMnemonics.h"
#include "platform/ui/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace zolbin {

namespace {

// Runs a flag's "set while inside" and clears it on the way out, also when an error passes through.
class FlagScope
{
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

TfmSend::TfmSend(Session& session, Windows& windows, QWidget* parent)
    : QMainWindow(parent), session_(session), SendParams(session.SendParams), CurGroup(session.CurGroup),
      windows_(windows), settingsFile_(session.settingsFile), settings_(session.settings),
      abonents_(session.abonents), groups_(session.groups), providers_(session.providers),
      journal_(session.journal), folder_(session.folder), tray_(new TrayIcon(this)),
      sends_(new SendController(session.folder, session.settings, session.journal, session.providers, this))
{
    buildUi();
    buildParts();
    connectSends();
    connectCommands();
    updateCommands();
    FormCreate();
    status_->setCaps(CapsLock::instance().isOn());
    qApp->installEventFilter(this);
}

TfmSend::~TfmSend()
{
    // A send still running ends with the member it serves; the pages waiting for it stay in the outbox
    // for the next worker.
    delete sends_;
    sends_ = nullptr;
    qApp->removeEventFilter(this);
    tray_->remove();
}

void TfmSend::connectCommands()
{
    RecipientChoice& recipients = *recipients_;
    EditorCommands& editing = *editing_;
    ListOrdering& ordering = *ordering_;
    WindowCommands& windows = *windowCommands_;
    onCommand(Command::Send, [this] { sendPage(); });
    onCommand(Command::Unlisted, [&recipients] { recipients.showUnlistedDialog(); });
    onCommand(Command::Service, [&recipients] { recipients.showServiceDialog(); });
    // The signature toggle is its action's check mark (signatureBlocked); nothing else to do.
    onCommand(Command::Exit, [this] { close(); });
    onCommand(Command::ClearEditor, [&editing] { editing.clearEditor(); });
    onCommand(Command::Copy, [&editing] { editing.copyBlock(); });
    onCommand(Command::Cut, [&editing] { editing.cutBlock(); });
    onCommand(Command::Paste, [&editing] { editing.pasteBlock(); });
    onCommand(Command::Undo, [&editing] { editing.undoEdit(); });
    onCommand(Command::LargerFont, [&editing] { editing.enlargeFont(); });
    onCommand(Command::SmallerFont, [&editing] { editing.shrinkFont(); });
    onCommand(Command::StoreFontSize, [&editing] { editing.storeFontSize(); });
    onCommand(Command::Archive, [&windows] { windows.showArchive(); });
    onCommand(Command::DeleteArchives, [&windows] { windows.deleteArchives(); });
    onCommand(Command::Queue, [&windows] { windows.showQueue(); });
    onCommand(Command::Journal, [&windows] { windows.showJournal(); });
    onCommand(Command::DeleteJournal, [&windows] { windows.deleteJournal(); });
    onCommand(Command::Subscribers, [this] { openDirectory(TfmRegistr::KindAbonent); });
    onCommand(Command::Groups, [this] { openDirectory(TfmRegistr::KindGroup); });
    onCommand(Command::Companies, [this] { openDirectory(TfmRegistr::KindProvider); });
    onCommand(Command::SortByName, [&ordering] { ordering.sortByName(); });
    onCommand(Command::MoveUp, [&ordering] { ordering.moveUp(); });
    onCommand(Command::MoveDown, [&ordering] { ordering.moveDown(); });
    onCommand(Command::SortByNumber, [&ordering] { ordering.sortByNumber(); });
    onCommand(Command::Settings, [this] { showOptions(); });
    onCommand(Command::Help, [&windows] { windows.showHelp(); });
    onCommand(Command::Notice, [&windows] { windows.showNotice(); });
    onCommand(Command::About, [&windows] { windows.showAbout(); });
    connect(&CapsLock::instance(), &CapsLock::changed, status_, &MainStatusBar::setCaps);
    connect(tray_, &TrayIcon::restoreRequested, this, guarded([this] { restoreFromTray(); }));
    connect(tray_, &TrayIcon::quitRequested, this, guarded([this] {
                if (IsAvailable(Command::Exit, state_))
                    close();
            }));
}

void TfmSend::onCommand(Command command, std::function<void()> handler)
{
    connect(action(command), &QAction::triggered, this,
            guarded([this, command, handler = std::move(handler)] {
                if (IsAvailable(command, state_))
                    handler();
            }));
}

void TfmSend::updateCommands()
{
    const Availability available = AvailableCommands(state_);
    for (Command command : AllCommands())
        action(command)->setEnabled(available[command]);
    // After its action: a button follows each change of its action's state.
    serviceButton_->setEnabled(available.serviceButton);
    if (RichEdit->isReadOnly() == available.editor)
        RichEdit->setReadOnly(!available.editor);
}

bool TfmSend::signatureBlocked() const
{
    return action(Command::SignatureOff)->isChecked();
}

void TfmSend::showOptions()
{
    if (optionsShowing_)
        return;
    {
        FlagScope showing(optionsShowing_);
        windows_.fmOptions->showModal();
    }
    // Closing the dialog gives the main window back its activation, and with it the next look at
    // the e-mail address.
    if (isVisible() && !isMinimized())
        activateWindow();
    if (settings_.EMail.empty())
        scheduleEMailCheck();
}

void TfmSend::FormActivate()
{
    CapsLock::instance().refresh();
    status_->setCaps(CapsLock::instance().isOn());
    if (settings_.EMail.empty())
        scheduleEMailCheck();
}

// The settings dialog is forced while no e-mail address is set. The look runs from the event loop,
// once the activation is complete, and never opens a second dialog over the first.
void TfmSend::scheduleEMailCheck()
{
    if (emailCheckPending_ || optionsShowing_)
        return;
    emailCheckPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            emailCheckPending_ = false;
            runCommand([this] { checkEMail(); });
        },
        Qt::QueuedConnection);
}

void TfmSend::checkEMail()
{
    // Never in the middle of a send, which reads the settings: the settings command is off then.
    if (!settings_.EMail.empty() || !isVisible() || isMinimized() || !IsAvailable(Command::Settings, state_))
        return;
    // Another window of the program in front: wait for the main window's next activation.
    const QWidget* active = QApplication::activeWindow();
    if (!isActiveWindow() && active != nullptr && active->isVisible())
        return;
    showOptions();
}

bool TfmSend::FormKeyDown(QKeyEvent* key)
{
    if (key->key() == Qt::Key_CapsLock)
        CapsLock::instance().keyPressed();
    // The window sees the key first but does not take the editor's own editing keys from it: in the
    // message editor they edit, everywhere else Ctrl with a letter is the search.
    if (QApplication::focusWidget() == RichEdit && editing_->EditorKeyDown(key))
        return true;
    // Alt with a key no menu took: the menu or Alt shortcut on the same key in the other layout.
    if (RunMnemonicByPosition(this, *key))
        return true;
    return ordering_->SearchKeyDown(key);
}

bool TfmSend::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        // A key travels up from the focused control to its parents; look at it once, on its first stop.
        if (widget == target && widget->window() == this) {
            bool consumed = false;
            runCommand([&] { consumed = FormKeyDown(static_cast<QKeyEvent*>(event)); });
            return consumed;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmSend::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        runCommand([this] { FormActivate(); });
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // The tray setting is read at the moment of minimising, so a new value acts at once.
        if (settings_.trayOn() && tray_->available())
            QMetaObject::invokeMethod(
                this, [this] { runCommand([this] { minimiseToTray(); }); }, Qt::QueuedConnection);
    }
}

// Hides the window into the notification area. Should the icon fail to appear, the window stays on the
// taskbar, minimised, instead of vanishing where nothing could bring it back.
void TfmSend::minimiseToTray()
{
    if (!isMinimized() || !isVisible())
        return;
    hide();
    tray_->add();
    if (!tray_->shown())
        showMinimized();
}

void TfmSend::BringForward()
{
    restoreFromTray();
    if (QWidget* dialog = QApplication::activeModalWidget(); dialog != nullptr && dialog != this) {
        dialog->raise();
        dialog->activateWindow();
    }
}

void TfmSend::restoreFromTray()
{
    tray_->remove();
    showNormal();
    raise();
    activateWindow();
}

} // namespace zolbin
