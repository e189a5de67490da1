// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The unregistered subscriber dialog "Незарегистрированный абонент": a pager number that is not in the
// directory, and its paging company, become the current recipient.

#include "platform/ui/Dialog.h"

#include <cstdint>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zolbin {

class TfmLater;
class TProviderList;
struct Session;
struct TSendParams;
struct TSettings;

class TfmUnlisted final : public TDialog
{
    Q_OBJECT
public:
    // On OK the dialog sets the session's recipient (its send parameters, and no group).
    explicit TfmUnlisted(Session& session, QWidget* parent = nullptr);

    // The service functions dialog opened by btnLater (created after this one).
    void setServiceDialog(TfmLater* later) { later_ = later; }

    QLineEdit* EditNum = nullptr;
    QComboBox* cmbProvider = nullptr;
    QToolButton* btnLater = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate() override;
    void EditNumChange();
    void cmbProviderChange();
    void btnLaterClick();
    void btnOKClick();

private:
    TSendParams& params_;
    std::int16_t& curGroup_;
    const TProviderList& providers_;
    const TSettings& settings_;
    TfmLater* later_ = nullptr;
    bool fillingCompanies_ = false; // the dialog's own changes of the company text are no operator's
};

} // namespace zolbin
