// SPDX-License-Identifier: GPL-3.0-or-later
// The Send command as the main window runs it, the window's side of the send (status text, pauses,
// the editor's lines, the clean-up after a complete send), the service functions dialog and the
// unregistered subscriber.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "dispatch/SendCommand.h"
#include "platform/Codepage.h"
#include "platform/Pause.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace zolbin {

void TfmSend::SetStatusText(const std::string& text)
{
    StatusText->setText(toQString(text));
    StatusText->repaint();
}

void TfmSend::Pause(unsigned ms)
{
    zolbin::Pause(ms);
}

void TfmSend::Beep()
{
    QApplication::beep();
}

void TfmSend::ShowMessage(const std::string& text, Notice notice)
{
    Prompts::message(text, notice == Notice::Stop          ? PromptIcon::Stop
                           : notice == Notice::Information ? PromptIcon::Information
                                                           : PromptIcon::None);
}

bool TfmSend::AskToContinue(const std::string& question)
{
    return Prompts::ask(cp("Предупреждение"), question, PromptIcon::Stop);
}

std::vector<std::string> TfmSend::EditorLines() const
{
    return RichEdit->displayedLines();
}

std::string TfmSend::EditorText() const
{
    return RichEdit->wholeText();
}

void TfmSend::SendCompleted(const TSendParams& params)
{
    clearServiceSummary();
    Label2->clear();
    if (settings_.clearOn()) {
        RichEdit->clear();
        pnlCount->setText(CounterText(0, params.CurMaxLen));
    }
    if (!AnyAbonentTicked() && !AnyGroupTicked())
        setServiceFunctions(false);
}

// While a send runs, the windows stay alive (they repaint, move and minimise), but nothing that the
// send reads may change under it: not the recipient, not the text, not the directory, the settings,
// the journal or the archives; and a second send cannot start.
void TfmSend::btnSendClick()
{
    if (!ReloadChangedLists(true))
        return;
    state_.sending = true;
    updateCommands();
    // The commands come back whatever way the command ends, an error included.
    struct SendEnd
    {
        TfmSend* window;
        ~SendEnd()
        {
            window->state_.sending = false;
            window->updateCommands();
        }
    } sendEnd{this};
    sendPassword_.reset(); // asked of the secret store once per send, not once per subscriber
    SendCommand(*this, SendParams, CurGroup, groups_, providers_).Run();
}

std::string TfmSend::serviceSummary() const
{
    return windows_.fmLater->ServiceSummary();
}

void TfmSend::clearServiceSummary()
{
    windows_.fmLater->SetServiceSummary({});
}

void TfmSend::resetServiceSettings()
{
    SendParams.DeferDate.clear();
    SendParams.RepeatCount = 0;
    clearServiceSummary();
}

void TfmSend::btnLaterClick()
{
    windows_.fmLater->showModal();
    Label2->setText(toQString(serviceSummary()));
}

void TfmSend::btnUnlistedClick()
{
    resetServiceSettings();
    Label2->clear();
    if (windows_.fmUnlisted->showModal() == QDialog::Accepted) {
        // The service functions of this recipient are reached inside the dialog.
        state_.serviceInDialog = true;
        state_.recipientChosen = true;
        updateCommands();
        RichEdit->setMaxLength(SendParams.CurMaxLen);
        pnlCount->setText(CounterText(0, RichEdit->maxLength()));
        untick(lbAbonent);
        RichEditDesc->clear();
        Label2->setText(toQString(serviceSummary()));
        Label1->setText(toQString(cp("Для абонента - ") + std::to_string(SendParams.CurNumber)));
    } else {
        // Whatever was chosen in the service dialog meanwhile is dropped.
        SendParams.DeferDate.clear();
        SendParams.DeferTime.clear();
        SendParams.RepeatCount = 0;
        clearServiceSummary();
    }
    RichEdit->setFocus();
}

// Asked by the SMTP dialogue when it logs in; the store is asked once per send (a group's members share
// the answer, and a store that times out costs its wait once). A store that cannot answer leaves the
// password empty; the dialogue then says so.
std::string TfmSend::SmtpPassword() const
{
    if (settings_.SMTPUser.empty() || windows_.secrets == nullptr)
        return {};
    if (state_.sending && sendPassword_)
        return *sendPassword_;
    SecretStore::Answer answer =
        windows_.secrets->read(SmtpSecretKey(settings_.SMTPServer, settings_.SMTPUser));
    std::string password =
        answer.outcome == SecretStore::Outcome::Done ? std::move(answer.secret) : std::string();
    if (state_.sending)
        sendPassword_ = password;
    return password;
}

} // namespace zolbin
