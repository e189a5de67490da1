// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of its sends: the Send command (the refusals, then the page taken and handed to
// the send controller), the window's state while jobs run, the outbox lent to the queue window, and the
// question before closing on pages that would then wait for nobody. What the jobs tell is shown by the
// status bar (app/MainStatusBar); nothing here holds the window.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/MessageEditor.h"
#include "app/RecipientChoice.h"
#include "app/WindowCommands.h"
#include "app/Windows.h"
#include "dispatch/SendCommand.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"
#include "platform/ui/CommandGuard.h"
#include "records/ui/QueueWindow.h"

#include <QCloseEvent>

namespace zolbin {

void TfmSend::sendPage()
{
    if (!ReloadChangedLists(true))
        return;
    const std::string text = RichEdit->wholeText();
    if (const std::optional<Text> refusal = SendCommand::RefusalText(SendParams, CurGroup, text)) {
        if (!sends_->sending())
            status_->setText({});
        Prompts::message(refusal->shown(), PromptIcon::Information);
        return;
    }
    (void)sends_->send(takeSendOrder());
}

// Everything the send reads, as it is now: later changes to the directory, the settings, the toggle or
// the editor do not reach this page.
SendOrder TfmSend::takeSendOrder() const
{
    SendOrder order = TakeOrder(folder_, SendParams, CurGroup, groups_, providers_);
    order.signatureBlocked = signatureBlocked();
    order.lines = RichEdit->displayedLines();
    order.text = RichEdit->wholeText();
    return order;
}

void TfmSend::connectSends()
{
    sends_->setSecrets(windows_.secrets.get());
    connect(sends_, &SendController::jobStarted, this, [this] {
        state_.sending = true;
        updateCommands();
    });
    connect(sends_, &SendController::idle, this, [this] {
        state_.sending = false;
        updateCommands();
    });
    connect(sends_, &SendController::completed, recipients_, &RecipientChoice::sendCompleted);
    connect(sends_, &SendController::trouble, this,
            [](const QString& text) { Prompts::message(text, PromptIcon::Stop); });
    connect(sends_, &SendController::outboxOpened, this, [this](Outbox* box) {
        if (windows_.fmQueue)
            windows_.fmQueue->setOutbox(box);
    });
    connect(status_, &MainStatusBar::outboxCounted, this, [this] {
        if (windows_.fmQueue)
            windows_.fmQueue->refresh();
    });
    connect(status_, &MainStatusBar::queueRequested, windowCommands_, &WindowCommands::showQueue);
    connect(status_, &MainStatusBar::notSentRequested, windowCommands_, &WindowCommands::showNotSent);
}

// Pages left waiting are sent by the next worker: the background service when it runs, else nobody
// until the window opens again; the operator decides.
bool TfmSend::mayClose()
{
    Outbox* box = sends_->outbox(false);
    if (box == nullptr)
        return true;
    const Result<int> waiting = box->Waiting();
    if (!waiting || waiting.value() == 0 || OutboxFollowerRunning(folder_))
        return true;
    return Prompts::ask(tr("Подтверждение"),
                        tr("В очереди %1 сообщений. Служба отправки не запущена: после закрытия они не будут "
                           "отправлены. Закрыть?")
                            .arg(waiting.value()),
                        PromptIcon::Question);
}

void TfmSend::closeEvent(QCloseEvent* event)
{
    bool close = true;
    runCommand([&] { close = mayClose(); });
    if (close)
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}

std::string TfmSend::SmtpPassword() const
{
    return ReadSmtpPassword(windows_.secrets.get(), settings_.SMTPServer, settings_.SMTPUser);
}

} // namespace zolbin
