// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the host of its send jobs: the page taken when Send is pressed, the job's reports
// shown as they come (status text, beep, messages, the group question, the member served), the Cancel of
// a group send, the clean-up after a complete send and the two seconds the last text stays. Nothing here
// holds the window: it stays free for the next message while a job works.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"
#include "platform/ui/TrayIcon.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace zolbin {

namespace {

// The last text of a send stays this long before the status bar is cleared.
constexpr int StatusTailMs = 2000;

std::string fromBytes(const QByteArray& bytes)
{
    return bytes.toStdString();
}

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
    SendOrder order = TakeOrder(folder_, SendParams, CurGroup, groups_, providers_);
    order.signatureBlocked = signatureBlocked();
    order.lines = EditorLines();
    order.text = EditorText();
    giveRunParts(order);
    return order;
}

// What every job of the window takes as it is when the job is made, its own page or a retry: the
// settings, the journal, the deadlines, what is remembered of the modems, and where the SMTP password
// and the SIM's PIN come from.
void TfmSend::giveRunParts(SendOrder& order) const
{
    order.settings = settings_;
    order.journal = journal_;
    order.deadlines = sendDeadlines_;
    order.modems = modems_;
    order.smtpPassword = [store = windows_.secrets.get(), server = settings_.SMTPServer,
                          user = settings_.SMTPUser] { return ReadSmtpPassword(store, server, user); };
    // A refused PIN is taken out of the store, so that no later send gives it again (three wrong PINs lock
    // the SIM); the operator saves the right one in "Линия GSM…".
    order.simPin = [store = windows_.secrets.get(), key = SimPinSecretKey(settings_.GsmDevice)] {
        if (store == nullptr)
            return std::string();
        SecretStore::Answer answer = store->read(key);
        return answer.outcome == SecretStore::Outcome::Done ? std::move(answer.secret) : std::string();
    };
    order.simPinRefused = [store = windows_.secrets.get(), key = SimPinSecretKey(settings_.GsmDevice)] {
        if (store != nullptr)
            (void)store->write(key, std::string());
    };
}

void TfmSend::startNextSend()
{
    if (statusTail_ == nullptr) {
        statusTail_ = new QTimer(this);
        statusTail_->setSingleShot(true);
        // The text goes, or a group's summary takes its place.
        connect(statusTail_, &QTimer::timeout, this,
                [this] { SetStatusText(std::exchange(groupSummary_, {})); });
    }
    statusTail_->stop();
    rememberGroup(queue_.front());
    job_ = std::make_unique<SendJob>(std::move(queue_.front()));
    queue_.pop_front();
    lastStatus_.clear();
    connectJob(job_.get());
    state_.sending = true;
    updateCommands();
    job_->start();
}

void TfmSend::connectJob(SendJob* job)
{
    connect(job, &SendJob::statusText, this, &TfmSend::jobStatus);
    connect(job, &SendJob::beep, this, [] { QApplication::beep(); });
    connect(job, &SendJob::message, this,
            [this, job](const QByteArray& text, int notice) { jobMessage(job, text, notice); });
    connect(job, &SendJob::question, this, [this, job](const QByteArray& text) { jobQuestion(job, text); });
    connect(job, &SendJob::memberStarted, this, &TfmSend::jobMember);
    connect(job, &SendJob::completed, this, [this, job] { jobCompleted(*job); });
    connect(job, &SendJob::ended, this, [this] { statusTail_->start(StatusTailMs); });
    connect(job, &SendJob::finished, this, &TfmSend::jobFinished);
}

void TfmSend::jobStatus(const QByteArray& text)
{
    SetStatusText(fromBytes(text));
    if (!text.isEmpty())
        lastStatus_ = fromBytes(text);
}

void TfmSend::jobMessage(SendJob* job, const QByteArray& text, int notice)
{
    const auto kind = static_cast<SendHost::Notice>(notice);
    Prompts::message(fromBytes(text), kind == SendHost::Notice::Stop          ? PromptIcon::Stop
                                      : kind == SendHost::Notice::Information ? PromptIcon::Information
                                                                              : PromptIcon::None);
    job->answer(true);
}

void TfmSend::jobQuestion(SendJob* job, const QByteArray& text)
{
    job->answer(Prompts::ask(cp("Предупреждение"), fromBytes(text), PromptIcon::Stop));
}

void TfmSend::jobMember(int number, int count, const QByteArray& name)
{
    pnlProgress->setText(
        QStringLiteral("%1 из %2: %3").arg(number).arg(count).arg(toQString(fromBytes(name))));
    pnlProgress->show();
    btnCancelSend->setEnabled(!job_->cancelRequested());
    btnCancelSend->show();
}

void TfmSend::btnCancelSendClick()
{
    if (!job_)
        return;
    job_->cancel();
    btnCancelSend->setEnabled(false);
}

void TfmSend::jobCompleted(const SendJob& job)
{
    if (retryPage_)
        return; // a retry took nothing from the window
    // The operator may have chosen the service functions or typed the next page meanwhile: only what
    // this send took is cleaned up.
    if (sameService(SendParams, job.takenParams())) {
        SendParams.SendDate.clear();
        SendParams.SendTime.clear();
        SendParams.DeferDate.clear();
        SendParams.DeferTime.clear();
        SendParams.RepeatInterval.clear();
        SendParams.RepeatCount = 0;
        clearServiceSummary();
        Label2->clear();
    }
    if (settings_.clearOn() && EditorText() == job.takenText()) {
        RichEdit->clear();
        pnlCount->setText(CounterText(0, SendParams.CurMaxLen));
    }
    if (!AnyAbonentTicked() && !AnyGroupTicked())
        setServiceFunctions(false);
}

void TfmSend::jobFinished()
{
    pnlProgress->hide();
    btnCancelSend->hide();
    const bool failed = job_->pageFailed();
    // The job's thread has ended; the object goes once this report is over.
    job_.release()->deleteLater();
    if (retryPage_) {
        retryFinished();
    } else {
        const std::string summary = tellGroupEnd();
        const std::string& told = summary.empty() ? lastStatus_ : summary;
        if (isHidden() && !told.empty() && sendNotifier_)
            sendNotifier_(toQString(told), failed);
    }
    if (!queue_.empty()) {
        startNextSend();
        return;
    }
    state_.sending = false;
    updateCommands();
    sendsEnded();
}

} // namespace zolbin
