// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecipientChoice.h"

#include "app/ClickCheck.h"
#include "app/MainStatusBar.h"
#include "app/MessageEditor.h"
#include "app/RecipientLists.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "dispatch/Recipient.h"
#include "platform/Codepage.h"
#include "platform/ui/CommandGuard.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace zolbin {

namespace {

bool sameService(const TSendParams& a, const TSendParams& b)
{
    return a.DeferDate == b.DeferDate && a.DeferTime == b.DeferTime && a.RepeatCount == b.RepeatCount &&
           a.RepeatInterval == b.RepeatInterval;
}

} // namespace

RecipientChoice::RecipientChoice(Session& session, Windows& windows, const RecipientControls& controls,
                                 MainStatusBar& status, WindowState& state,
                                 std::function<void()> stateChanged, QObject* parent)
    : QObject(parent), session_(session), SendParams(session.SendParams), CurGroup(session.CurGroup),
      windows_(windows), c_(controls), status_(status), state_(state), stateChanged_(std::move(stateChanged))
{
    onClickCheck(c_.lbAbonent, [this](int row) { runCommand([this, row] { lbAbonentClickCheck(row); }); });
    onClickCheck(c_.lbGroup, [this](int row) { runCommand([this, row] { lbGroupClickCheck(row); }); });
    connect(c_.RichEdit, &QPlainTextEdit::textChanged, this, guarded([this] { RichEditChange(); }));
}

bool RecipientChoice::AnyAbonentTicked() const
{
    return c_.lbAbonent->lines()->tickedCount() > 0;
}

bool RecipientChoice::AnyGroupTicked() const
{
    return c_.lbGroup->lines()->tickedCount() > 0;
}

void RecipientChoice::untick(TickList* list, int except)
{
    list->lines()->untickAll(except);
}

void RecipientChoice::setServiceFunctions(bool enabled)
{
    state_.serviceOffered = enabled;
    state_.serviceInDialog = false;
    stateChanged_();
}

// Nothing chosen: no recipient, no deferral or repeats, a read-only editor. Its text stays.
void RecipientChoice::showNothingChosen()
{
    CurGroup = -1;
    ClearRecipient(SendParams);
    clearServiceSummary();
    c_.RichEditDesc->clear();
    state_.recipientChosen = false;
    setServiceFunctions(false);
    status_.setCount(0, 0);
    c_.Label1->clear();
    c_.Label2->clear();
}

void RecipientChoice::DropRecipient()
{
    showNothingChosen();
    untick(c_.lbAbonent);
    untick(c_.lbGroup);
}

void RecipientChoice::RefillRecipientLists()
{
    FillAbonentLines(c_.lbAbonent, session_.abonents);
    FillGroupLines(c_.lbGroup, session_.groups);
}

std::pair<bool, std::string> RecipientChoice::TickedName() const
{
    for (int row = 0; row < c_.lbAbonent->count() && row < session_.abonents.Count(); ++row)
        if (c_.lbAbonent->ticked(row))
            return {false, session_.abonents[row]->Name.str()};
    for (int row = 0; row < c_.lbGroup->count() && row < session_.groups.Count(); ++row)
        if (c_.lbGroup->ticked(row))
            return {true, session_.groups[row]->Name.str()};
    return {false, {}};
}

void RecipientChoice::TickByName(const std::pair<bool, std::string>& ticked)
{
    if (ticked.second.empty())
        return;
    const int row = ticked.first ? session_.groups.IndexOfName(ticked.second)
                                 : session_.abonents.IndexOfName(ticked.second);
    TickList* list = ticked.first ? c_.lbGroup : c_.lbAbonent;
    if (row < 0 || row >= list->count())
        return;
    list->setTicked(row, true);
    if (ticked.first)
        lbGroupClickCheck(row);
    else
        lbAbonentClickCheck(row);
}

// The editor takes the recipient's limit; the counter shows it until the text next changes. A limit
// smaller than the text already there does not shorten the text.
void RecipientChoice::openEditor(std::int32_t maxLen)
{
    state_.recipientChosen = true;
    stateChanged_();
    c_.RichEdit->setMaxLength(maxLen);
    status_.setCount(0, c_.RichEdit->maxLength());
    c_.RichEdit->setFocus();
}

void RecipientChoice::lbAbonentClickCheck(int row)
{
    untick(c_.lbGroup);
    untick(c_.lbAbonent, row);
    if (!AnyAbonentTicked() || row < 0 || row >= session_.abonents.Count()) {
        showNothingChosen();
        return;
    }
    const TAbonent& abonent = *session_.abonents.Items(row);
    ChooseSubscriber(SendParams, abonent);
    clearServiceSummary();
    c_.Label2->clear();
    c_.RichEditDesc->setPlainText(toQString(abonent.Info.str()));
    openEditor(SendParams.CurMaxLen);
    // A subscriber without a company gets no service functions; the send command refuses it anyway.
    setServiceFunctions(!SendParams.CurProvider.empty() &&
                        ServiceAvailableFor(SendParams.CurProvider, session_.providers));
    c_.Label1->setText(tr("Для абонента - %1").arg(toQString(SendParams.CurName)));
    CurGroup = -1;
}

void RecipientChoice::lbGroupClickCheck(int row)
{
    untick(c_.lbAbonent);
    untick(c_.lbGroup, row);
    c_.RichEditDesc->clear();
    if (!AnyGroupTicked() || row < 0 || row >= session_.groups.Count()) {
        showNothingChosen();
        return;
    }
    const TGroup& group = *session_.groups.Items(row);
    if (group.Members.empty()) {
        // A group without members is no recipient: its name is shown, but nothing can be written for
        // it and Send asks for a recipient.
        showNothingChosen();
        c_.Label1->setText(tr("Для группы абонентов - %1").arg(toQString(group.Name.str())));
        return;
    }
    c_.Label2->clear();
    resetServiceSettings();
    SendParams.CurMaxLen = GroupMaxLen(group);
    setServiceFunctions(ServiceAvailableForGroup(group, session_.providers));
    CurGroup = static_cast<std::int16_t>(row);
    openEditor(SendParams.CurMaxLen);
    c_.Label1->setText(tr("Для группы абонентов - %1").arg(toQString(group.Name.str())));
}

void RecipientChoice::RichEditChange()
{
    status_.setCount(c_.RichEdit->textLength(), c_.RichEdit->maxLength());
}

QString RecipientChoice::serviceSummary() const
{
    return windows_.fmLater->ShownServiceSummary();
}

void RecipientChoice::clearServiceSummary()
{
    windows_.fmLater->SetServiceSummary({});
}

void RecipientChoice::resetServiceSettings()
{
    SendParams.DeferDate.clear();
    SendParams.RepeatCount = 0;
    clearServiceSummary();
}

void RecipientChoice::showServiceDialog()
{
    windows_.fmLater->showModal();
    c_.Label2->setText(serviceSummary());
}

void RecipientChoice::showUnlistedDialog()
{
    resetServiceSettings();
    c_.Label2->clear();
    if (windows_.fmUnlisted->showModal() == QDialog::Accepted) {
        // The service functions of this recipient are reached inside the dialog.
        state_.serviceInDialog = true;
        state_.recipientChosen = true;
        stateChanged_();
        c_.RichEdit->setMaxLength(SendParams.CurMaxLen);
        status_.setCount(0, c_.RichEdit->maxLength());
        untick(c_.lbAbonent);
        c_.RichEditDesc->clear();
        c_.Label2->setText(serviceSummary());
        c_.Label1->setText(tr("Для абонента - %1").arg(SendParams.CurNumber));
    } else {
        // Whatever was chosen in the service dialog meanwhile is dropped.
        SendParams.DeferDate.clear();
        SendParams.DeferTime.clear();
        SendParams.RepeatCount = 0;
        clearServiceSummary();
    }
    c_.RichEdit->setFocus();
}

void RecipientChoice::sendCompleted(const TSendParams& taken, const std::string& takenText)
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
        c_.Label2->clear();
    }
    if (session_.settings.clearOn() && c_.RichEdit->wholeText() == takenText) {
        c_.RichEdit->clear();
        status_.setCount(0, SendParams.CurMaxLen);
    }
    if (!AnyAbonentTicked() && !AnyGroupTicked())
        setServiceFunctions(false);
}

} // namespace zolbin
