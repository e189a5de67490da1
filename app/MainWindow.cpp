// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "app/Windows.h"
#include "dialogs/About.h"
#include "dialogs/Options.h"
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

const QColor CapsOnColour(Qt::black);
const QColor CapsOffColour(0xC0, 0xC0, 0xC0);

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
    : QMainWindow(parent), SendParams(session.SendParams), CurGroup(session.CurGroup), windows_(windows),
      settingsFile_(session.settingsFile), settings_(session.settings), abonents_(session.abonents),
      groups_(session.groups), providers_(session.providers), journal_(session.journal),
      tray_(new TrayIcon(this))
{
    buildUi();
    connectCommands();
    connectDirectoryCommands();
    connectOrderingCommands();
    connectEditingCommands();
    for (const std::string& name : CommandControls()) {
        QObject* control = findChild<QObject*>(QString::fromStdString(name));
        if (control == nullptr)
            qFatal("The main window has no control %s", name.c_str());
        commandControls_.emplace_back(name, control);
    }
    updateCommands();
    FormCreate();
    SetCapsIndicator(CapsLock::instance().isOn());
    qApp->installEventFilter(this);
}

TfmSend::~TfmSend()
{
    // A send still running ends with the member it serves; the pages waiting for it stay in the outbox
    // for the next worker.
    releaseQueuedPages();
    queue_.clear();
    job_.reset();
    qApp->removeEventFilter(this);
    tray_->remove();
}

void TfmSend::connectCommands()
{
    onCommand(btnSend, [this] { btnSendClick(); });
    onCommand(LogItem, [this] { LogItemClick(); });
    onCommand(btnUnlisted, [this] { btnUnlistedClick(); });
    onCommand(N4, [this] { N4Click(); });
    onCommand(btnLater, [this] { btnLaterClick(); });
    onCommand(LaterItem, [this] { LaterItemClick(); });
    onCommand(btnExit, [this] { btnExitClick(); });
    onCommand(ExitItem, [this] { ExitItemClick(); });
    onCommand(btnNoShort, [this] { btnNoShortClick(); });
    onCommand(NoShortItem, [this] { NoShortItemClick(); });
    onCommand(OptItem, [this] { OptItemClick(); });
    onCommand(SmileItem, [this] { SmileItemClick(); });
    onCommand(AboutItem, [this] { AboutItemClick(); });
    connect(&CapsLock::instance(), &CapsLock::changed, this, [this](bool on) { SetCapsIndicator(on); });
    connect(tray_, &TrayIcon::restoreRequested, this, guarded([this] { restoreFromTray(); }));
    connect(btnCancelSend, &QPushButton::clicked, this, [this] { btnCancelSendClick(); });
    sendNotifier_ = [this](const QString& text, bool failed) { notifyDesktop(text, failed); };
    connect(tray_, &TrayIcon::quitRequested, this, guarded([this] {
                if (IsAvailable("ExitItem", state_))
                    btnExitClick();
            }));
    connectRecipients();
}

void TfmSend::onCommand(QToolButton* button, std::function<void()> handler)
{
    connect(button, &QToolButton::clicked, this,
            guarded([this, name = button->objectName().toStdString(), handler = std::move(handler)] {
                if (IsAvailable(name, state_))
                    handler();
            }));
}

void TfmSend::onCommand(QAction* item, std::function<void()> handler)
{
    connect(item, &QAction::triggered, this,
            guarded([this, name = item->objectName().toStdString(), handler = std::move(handler)] {
                if (IsAvailable(name, state_))
                    handler();
            }));
}

void TfmSend::updateCommands()
{
    const std::set<std::string> available = AvailableControls(state_);
    for (const auto& [name, control] : commandControls_) {
        const bool on = available.count(name) != 0;
        if (control == RichEdit) {
            if (RichEdit->isReadOnly() == on)
                RichEdit->setReadOnly(!on);
        } else if (auto* item = qobject_cast<QAction*>(control)) {
            item->setEnabled(on);
        } else {
            static_cast<QWidget*>(control)->setEnabled(on);
        }
    }
}

bool TfmSend::signatureBlocked() const
{
    return btnNoShort->isChecked();
}

// The toggle has already changed its own state; the menu item's check mark follows it.
void TfmSend::btnNoShortClick()
{
    NoShortItem->setChecked(btnNoShort->isChecked());
}

// The menu item has already flipped its check mark; the toggle follows it.
void TfmSend::NoShortItemClick()
{
    btnNoShort->setChecked(NoShortItem->isChecked());
}

void TfmSend::btnExitClick()
{
    close();
}

void TfmSend::OptItemClick()
{
    showOptions();
}

void TfmSend::SmileItemClick()
{
    windows_.fmSmile->showModal();
}

void TfmSend::AboutItemClick()
{
    windows_.fmAbout->showModal();
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

void TfmSend::SetCapsIndicator(bool on)
{
    QPalette palette = pnlCaps->palette();
    palette.setColor(QPalette::WindowText, on ? CapsOnColour : CapsOffColour);
    pnlCaps->setPalette(palette);
}

void TfmSend::FormActivate()
{
    CapsLock::instance().refresh();
    SetCapsIndicator(CapsLock::instance().isOn());
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
    if (!settings_.EMail.empty() || !isVisible() || isMinimized() || !IsAvailable("OptItem", state_))
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
    if (QApplication::focusWidget() == RichEdit && EditorKeyDown(key))
        return true;
    // Alt with a key no menu took: the menu or Alt shortcut on the same key in the other layout.
    if (RunMnemonicByPosition(this, *key))
        return true;
    return SearchKeyDown(key);
}

bool TfmSend::eventFilter(QObject* watched, QEvent* event)
{
    if (statusPanelClicked(watched, event))
        return true;
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
