// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paging company dialog: adds a company or changes one, with the settings of its four gateways.
// Exactly one gateway panel is enabled at a time, the one of the chosen gateway. Every stored change
// rewrites "Company.lst".

#include "directory/ui/PropertiesDialog.h"
#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <cstdint>
#include <string>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace zolbin {

class TProviderList;
struct Session;
struct TProvider;
class TWctpPanel;

class TfmPrvReg final : public TPropertiesDialog
{
    Q_OBJECT
public:
    // Stores into the session's company list and rewrites "Company.lst".
    explicit TfmPrvReg(Session& session, QWidget* parent = nullptr);

    // The gateway chosen now: 0 SNPP, 1 SMTP, 2 TAP, 3 SMS, 4 WCTP.
    int ChosenGate() const;

    QTabWidget* PageControl = nullptr; // the one page "SNPP - доступ"
    QGroupBox* rgGate = nullptr;
    QRadioButton* rbSNPP = nullptr;
    QRadioButton* rbSMTP = nullptr;
    QRadioButton* rbTAP = nullptr;
    QRadioButton* rbWCTP = nullptr;
    QRadioButton* rbSMS = nullptr;
    QGroupBox* PanelSNPP = nullptr;
    QLineEdit* EditSNPPSrv = nullptr;
    QLineEdit* EditSNPPPort = nullptr;
    QComboBox* cmbSNPPEnc = nullptr;
    QLineEdit* EditSnppPswd = nullptr;
    QGroupBox* PanelSMTP = nullptr;
    QLineEdit* EditSMTPEMail = nullptr;
    QLineEdit* EditSMTPPort = nullptr;
    QComboBox* cmbSMTPEnc = nullptr;
    QGroupBox* PanelTAP = nullptr;
    QLineEdit* EditTapPhone = nullptr;
    QLineEdit* EditTapPswd = nullptr;
    TWctpPanel* PanelWCTP = nullptr;
    QGroupBox* PanelSMS = nullptr;       // the SMS gateway's panel (SmsPanel.cpp)
    QLineEdit* EditSmsPattern = nullptr; // stored in the record's "TapPhone"
    QPushButton* btnGsmLine = nullptr;   // "Линия GSM…": gsmLineRequested()

    void FormActivate() override;
    void rgGateClick();
    void btnOkClick() override;
    void btnCancelClick() override; // back to the page, then Exit

signals:
    // The SMS panel's button: the host shows the GSM line's dialog.
    void gsmLineRequested();

protected:
    // A new company: caption "Новая пейдж. компания", the name focused, only the SMTP panel enabled.
    void prepareAdd() override;
    // The company at the position: every field from the record, the panels enabled by its gateway.
    void prepareChange(int index) override;

private:
    void buildUi();
    void resetForNewCompany();
    // Sets the choice and the panels with it.
    void setGate(int gate);
    void enablePanels(int gate);
    // The first failed check's message, or an empty text when the input may be stored.
    QString checkInput() const;
    Result<TProvider> recordFromControls() const;

    TProviderList& providers_;
    const DataFolder& folder_; // the session's, where the list files are
    QButtonGroup* gates_ = nullptr;
};

} // namespace zolbin
