#pragma once
// The paging company dialog: adds a company or changes one, with the settings of its three gateways.
// Exactly one gateway panel is enabled at a time, the one of the chosen gateway; TAP is offered but
// refused. Every stored change rewrites "Company.lst".

#include "platform/ui/Dialog.h"

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
struct TProvider;

class TfmPrvReg : public TDialog
{
    Q_OBJECT
public:
    // Stores into the company list and rewrites "Company.lst".
    explicit TfmPrvReg(TProviderList& providers, QWidget* parent = nullptr);

    // Prepares the dialog for a new company: caption "Новая пейдж. компания", OK "До&бавить", the name
    // editable, only the SMTP panel enabled.
    void SetAddMode();
    // Prepares it for the company at the position: caption "Свойства", OK "Со&хранить", the name
    // read-only, every field from the record, the panels enabled by its gateway.
    void SetChangeMode(int index);

    int Mode() const { return mode_; } // 1 add, 2 change
    int EditIndex() const { return editIndex_; }
    // The gateway chosen when the dialog was activated; a refused TAP choice returns to it.
    int LastGate() const { return lastGate_; }
    // The gateway chosen now: 0 SNPP, 1 SMTP, 2 TAP.
    int ChosenGate() const;

    QTabWidget* PageControl = nullptr; // the one page "SNPP - доступ"
    QLineEdit* EditName = nullptr;
    QGroupBox* rgGate = nullptr;
    QRadioButton* rbSNPP = nullptr;
    QRadioButton* rbSMTP = nullptr;
    QRadioButton* rbTAP = nullptr;
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
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate();
    void rgGateClick();
    void btnOkClick();
    void btnCancelClick();

signals:
    // A company was appended in add mode: the list that shows the companies is refilled.
    void listChanged();

protected:
    bool escapePressed() override; // Exit
    bool enterPressed() override;  // OK
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void resetForNewCompany();
    // Sets the choice without the TAP refusal, and the panels with it.
    void setGate(int gate);
    void enablePanels(int gate);
    // The first failed check's message, or an empty text when the input may be stored.
    std::string checkInput() const;
    TProvider recordFromControls() const;

    TProviderList& providers_;
    QButtonGroup* gates_ = nullptr;
    int mode_ = 1;
    int editIndex_ = -1;
    int lastGate_ = 1;
    bool settingGate_ = false; // the dialog's own change of the choice is no operator's
};

} // namespace zolbin
