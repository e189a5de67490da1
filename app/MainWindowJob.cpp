// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of its sends: the page taken when Send is pressed and handed to the send
// controller, the window's state while jobs run, the clean-up after a complete send, the outbox lent to
// the queue window, and the question before closing on pages that would then wait for nobody. What the
// jobs tell is shown by the status bar (app/MainStatusBar). Nothing here holds the window.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/TrayIcon.h"
#include "records/ui/QueueWindow.h"

#include <QCloseEvent>
#include <QLabel>

namespace zolbin {

namespace {

bool sameService(const TSendParams& a, const TSendParams& b)
{
    return a.DeferDate == b.DeferDate && a.DeferTime == b.DeferTime && a.RepeatCount == b.RepeatCount &&
           a.RepeatInterval == b.RepeatInterval;
}

} // namespace

// Everything the send reads, as it is now: later changes to the directory, the settings, the toggle or
// the editor do not reach this page.
SendOrder TfmSend::takeSendOrder() const
{
    SendOrder order = TakeOrder(SendParams, CurGroup, groups_, providers_);
    order.signatureBlocked = signatureBlocked();
    order.lines = EditorLines();
    order.text = EditorText();
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
    connect(sends_, &SendController::completed, this, &TfmSend::sendCompleted);
    connect(sends_, &SendController::trouble, this,
            [](const SendController::JobText& text) { Prompts::message(jobText(text), PromptIcon::Stop); });
    connect(sends_, &SendController::outboxOpened, this, [this](Outbox* box) {
        if (windows_.fmQueue)
            windows_.fmQueue->setOutbox(box);
    });
    connect(status_, &MainStatusBar::outboxCounted, this, [this] {
        if (windows_.fmQueue)
            windows_.fmQueue->refresh();
    });
    connect(status_, &MainStatusBar::queueRequested, this, [this] { showQueue(); });
    connect(status_, &MainStatusBar::notSentRequested, this, [this] {
        TfmQueue& queue = *windows_.fmQueue;
        queue.setOutbox(sends_->outbox(false));
        queue.showNotSent();
    });
}

void TfmSend::sendCompleted(const TSendParams& taken, const std::string& takenText)
{
    // The operator may have chosen the service functions or typed the next page meanwhile: only what
    // this send took is cleaned up.
    if (sameService(SendParams, taken)) {
        SendParams.SendDate.clear();
        SendParams.SendTime.clear();
        SendParams.DeferDate.clear();
        SendParams.DeferTime.clear();
        SendParams.RepeatInterval.clear();
        SendParams.RepeatCount = 0;
        clearServiceSummary();
        Label2->clear();
    }
    if (settings_.clearOn() && EditorText() == takenText) {
        RichEdit->clear();
        status_->setCount(0, SendParams.CurMaxLen);
    }
    if (!AnyAbonentTicked() && !AnyGroupTicked())
        setServiceFunctions(false);
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

} // namespace zolbin
