// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Линия GSM": the serial device and speed of the GSM modem that sends SMS, which go into
// section "GSM" of "Zolbin.ini", and the PIN of its SIM, which goes only into the secret store (under
// the device).

#include "platform/ui/Dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zolbin {

class ProfileFile;
class SecretStore;
struct Session;
struct TSettings;

class TfmGsmLine final : public TDialog
{
    Q_OBJECT
public:
    // Without a secret store the PIN field is disabled.
    TfmGsmLine(Session& session, SecretStore* secrets, QWidget* parent = nullptr,
               QString deviceFolder = QStringLiteral("/dev"));

    QComboBox* EditDevice = nullptr; // editable
    QComboBox* cmbSpeed = nullptr;   // editable
    QLineEdit* EditPin = nullptr;    // empty: the stored PIN stays
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate();
    void btnOKClick();
    void btnCancelClick();

protected:
    bool enterPressed() override;
    void showEvent(QShowEvent* event) override;

private:
    ProfileFile& file_;
    TSettings& settings_;
    SecretStore* secrets_;
    QString deviceFolder_;
};

} // namespace zolbin
