// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recipient of the main window's next page: one ticked subscriber, one ticked group with members, an
// unregistered number from its dialog, or nothing; what the window shows around the editor for it (the
// description lines, the subscriber's remark, the editor's limit and the length counter), the service
// functions it is offered, and the clean-up after a complete send. It works on the session's send
// parameters and the window's state, and tells the window when the state changed.

#include "app/CommandAvailability.h"
#include "records/Session.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

class QLabel;
class QPlainTextEdit;

namespace zolbin {

class MainStatusBar;
class MessageEditor;
class TickList;
struct Windows;

// The window's controls the recipient is shown in.
struct RecipientControls final
{
    TickList* lbAbonent = nullptr;
    TickList* lbGroup = nullptr;
    QLabel* Label1 = nullptr; // "Для абонента - …" or "Для группы абонентов - …"
    QLabel* Label2 = nullptr; // the deferral and repeats chosen
    QPlainTextEdit* RichEditDesc = nullptr;
    MessageEditor* RichEdit = nullptr;
};

class RecipientChoice final : public QObject
{
    Q_OBJECT
public:
    RecipientChoice(Session& session, Windows& windows, const RecipientControls& controls,
                    MainStatusBar& status, WindowState& state, std::function<void()> stateChanged,
                    QObject* parent);

    bool AnyAbonentTicked() const;
    bool AnyGroupTicked() const;
    // Drops the recipient before the directory changes under it: no recipient, no deferral, a
    // read-only editor, no ticks in either list.
    void DropRecipient();
    // Refills lbAbonent ("Name -- Number") and lbGroup from the lists, all unticked.
    void RefillRecipientLists();
    // The name of the ticked subscriber or group (and which), empty when none is ticked; after the lists
    // were read again, the entry of that name ticked again as a click would, when it is still there.
    std::pair<bool, std::string> TickedName() const;
    void TickByName(const std::pair<bool, std::string>& ticked);
    // The service functions dialog, and the unregistered subscriber's dialog, which makes its number the
    // recipient when accepted.
    void showServiceDialog();
    void showUnlistedDialog();
    // The window's part of the clean-up after a complete send: the service settings, the summary and
    // Label2 as the send took them, the editor (when "Clear" is 1) while it still holds the page sent,
    // the service functions disabled when nothing is ticked.
    void sendCompleted(const TSendParams& taken, const std::string& takenText);

private:
    void lbAbonentClickCheck(int row);
    void lbGroupClickCheck(int row);
    void RichEditChange();
    void showNothingChosen();
    void openEditor(std::int32_t maxLen);
    void setServiceFunctions(bool enabled);
    void untick(TickList* list, int except = -1);
    // The service dialog's summary of deferral and repeats; the reset of the service settings.
    QString serviceSummary() const;
    void clearServiceSummary();
    void resetServiceSettings();

    Session& session_;
    TSendParams& SendParams;
    std::int16_t& CurGroup; // index of the chosen group, -1 = none
    Windows& windows_;
    RecipientControls c_;
    MainStatusBar& status_;
    WindowState& state_;
    std::function<void()> stateChanged_;
};

} // namespace zolbin
