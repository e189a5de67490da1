// SPDX-License-Identifier: GPL-3.0-or-later
// The recipient of the next page: one ticked subscriber, one ticked group, or nothing; what the window
// shows around the editor for it, the length counter and the availability of the service functions.

#include "app/ClickCheck.h"
#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "dispatch/Recipient.h"
#include "platform/Codepage.h"
#include "platform/ui/CommandGuard.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

namespace zolbin {

void TfmSend::connectRecipients()
{
    onClickCheck(lbAbonent, [this](int row) { runCommand([this, row] { lbAbonentClickCheck(row); }); });
    onClickCheck(lbGroup, [this](int row) { runCommand([this, row] { lbGroupClickCheck(row); }); });
    connect(RichEdit, &QPlainTextEdit::textChanged, this, guarded([this] { RichEditChange(); }));
    connect(TabbedNotebook1, &QTabWidget::currentChanged, this,
            [this](int index) { runCommand([this, index] { TabbedNotebook1Change(index); }); });
}

bool TfmSend::AnyAbonentTicked() const
{
    return lbAbonent->lines()->tickedCount() > 0;
}

bool TfmSend::AnyGroupTicked() const
{
    return lbGroup->lines()->tickedCount() > 0;
}

void TfmSend::untick(TickList* list, int except)
{
    list->lines()->untickAll(except);
}

void TfmSend::setServiceFunctions(bool enabled)
{
    state_.serviceOffered = enabled;
    state_.serviceInDialog = false;
    updateCommands();
}

// Nothing chosen: no recipient, no deferral or repeats, a read-only editor. Its text stays.
void TfmSend::showNothingChosen()
{
    CurGroup = -1;
    ClearRecipient(SendParams);
    clearServiceSummary();
    RichEditDesc->clear();
    state_.recipientChosen = false;
    setServiceFunctions(false);
    status_->setCount(0, 0);
    Label1->clear();
    Label2->clear();
}

void TfmSend::DropRecipient()
{
    showNothingChosen();
    untick(lbAbonent);
    untick(lbGroup);
}

// The editor takes the recipient's limit; the counter shows it until the text next changes. A limit
// smaller than the text already there does not shorten the text.
void TfmSend::openEditor(std::int32_t maxLen)
{
    state_.recipientChosen = true;
    updateCommands();
    RichEdit->setMaxLength(maxLen);
    status_->setCount(0, RichEdit->maxLength());
    RichEdit->setFocus();
}

void TfmSend::lbAbonentClickCheck(int row)
{
    untick(lbGroup);
    untick(lbAbonent, row);
    if (!AnyAbonentTicked() || row < 0 || row >= abonents_.Count()) {
        showNothingChosen();
        return;
    }
    const TAbonent& abonent = *abonents_.Items(row);
    ChooseSubscriber(SendParams, abonent);
    clearServiceSummary();
    Label2->clear();
    RichEditDesc->setPlainText(toQString(abonent.Info.str()));
    openEditor(SendParams.CurMaxLen);
    // A subscriber without a company gets no service functions; the send command refuses it anyway.
    setServiceFunctions(!SendParams.CurProvider.empty() &&
                        ServiceAvailableFor(SendParams.CurProvider, providers_));
    Label1->setText(toQString(cp("Для абонента - ") + SendParams.CurName));
    CurGroup = -1;
}

void TfmSend::lbGroupClickCheck(int row)
{
    untick(lbAbonent);
    untick(lbGroup, row);
    RichEditDesc->clear();
    if (!AnyGroupTicked() || row < 0 || row >= groups_.Count()) {
        showNothingChosen();
        return;
    }
    const TGroup& group = *groups_.Items(row);
    if (group.Members.empty()) {
        // A group without members is no recipient: its name is shown, but nothing can be written for
        // it and Send asks for a recipient.
        showNothingChosen();
        Label1->setText(toQString(cp("Для группы абонентов - ") + group.Name.str()));
        return;
    }
    Label2->clear();
    resetServiceSettings();
    SendParams.CurMaxLen = GroupMaxLen(group);
    setServiceFunctions(ServiceAvailableForGroup(group, providers_));
    CurGroup = static_cast<std::int16_t>(row);
    openEditor(SendParams.CurMaxLen);
    Label1->setText(toQString(cp("Для группы абонентов - ") + group.Name.str()));
}

void TfmSend::RichEditChange()
{
    status_->setCount(RichEdit->textLength(), RichEdit->maxLength());
}

// Groups have no number, so sorting by number is off on the groups page.
void TfmSend::TabbedNotebook1Change(int index)
{
    state_.subscribersPage = index == 0;
    updateCommands();
}

} // namespace zolbin
