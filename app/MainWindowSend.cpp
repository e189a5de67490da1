// SPDX-License-Identifier: GPL-3.0-or-later
// The Send command as the main window gives it (the refusals, then a page for the send job), the status
// text and the editor's lines, the service functions dialog and the unregistered subscriber.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "dispatch/SendCommand.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace zolbin {

std::vector<std::string> TfmSend::EditorLines() const
{
    return RichEdit->displayedLines();
}

std::string TfmSend::EditorText() const
{
    return RichEdit->wholeText();
}

// A Send with no recipient or no text is refused at once; any other hands the page to a job: at once when
// none runs, after the pages before it otherwise. The window stays free meanwhile.
void TfmSend::sendPage()
{
    if (!ReloadChangedLists(true))
        return;
    const std::string text = EditorText();
    if (const std::optional<std::string> refusal = SendCommand::RefusalText(SendParams, CurGroup, text)) {
        if (!sends_->sending())
            status_->setText({});
        Prompts::message(*refusal, PromptIcon::Information);
        return;
    }
    (void)sends_->send(takeSendOrder());
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

void TfmSend::showServiceDialog()
{
    windows_.fmLater->showModal();
    Label2->setText(toQString(serviceSummary()));
}

void TfmSend::showUnlistedDialog()
{
    resetServiceSettings();
    Label2->clear();
    if (windows_.fmUnlisted->showModal() == QDialog::Accepted) {
        // The service functions of this recipient are reached inside the dialog.
        state_.serviceInDialog = true;
        state_.recipientChosen = true;
        updateCommands();
        RichEdit->setMaxLength(SendParams.CurMaxLen);
        status_->setCount(0, RichEdit->maxLength());
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

std::string TfmSend::SmtpPassword() const
{
    return ReadSmtpPassword(windows_.secrets.get(), settings_.SMTPServer, settings_.SMTPUser);
}

} // namespace zolbin
