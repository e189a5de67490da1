// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The service functions dialog "Сервисные функции": deferred delivery and up to two repeats of the page
// being prepared. It fills the service settings of the send parameters it was given and composes the
// one-line summary the main window shows.

#include "platform/Text.h"
#include "platform/ui/Dialog.h"

#include <string>

class QComboBox;
class QPushButton;

namespace zolbin {

class SpinField;
struct ServiceForm;
struct Session;
struct TSendParams;

class TfmLater final : public TDialog
{
    Q_OBJECT
public:
    // Fills the service settings of the session's send parameters.
    explicit TfmLater(Session& session, QWidget* parent = nullptr);

    QPushButton* btnLater = nullptr;  // toggle "Отло&жить"
    QPushButton* btnRepeat = nullptr; // toggle "По&вторить"
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    SpinField* EditDay = nullptr;
    QComboBox* cmbMonth = nullptr;
    SpinField* EditYear = nullptr;
    SpinField* EditHour = nullptr;
    SpinField* EditMin = nullptr;
    SpinField* EditRepCount = nullptr;
    SpinField* EditRepHour = nullptr;
    SpinField* EditRepMin = nullptr;

    // The summary of the settings in force ("Отложено на ...", "Повторы - ..."); empty when none. Shown in
    // the interface's language; its Russian (cp1251) and a summary set as it is are for the tests.
    QString ShownServiceSummary() const { return summary_.shown(); }
    std::string ServiceSummary() const { return summary_.russian(); }
    void SetServiceSummary(const std::string& cp1251) { summary_ = Text::verbatim(cp1251); }

    void FormActivate() override; // the present moment, both toggles released
    void btnLaterClick();         // either toggle: the date check while deferral is on
    void btnOKClick();

private:
    ServiceForm currentForm() const; // the fields as they stand

    TSendParams& params_;
    Text summary_;
};

} // namespace zolbin
