// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Линия GSM": the serial device and speed of the GSM modem that sends SMS, which go into
// section "GSM" of "Zolbin.ini", and the PIN of its SIM, which goes only into the secret store (under
// the device). It tells whether the store holds a PIN for the device shown. The line and the PIN are
// saved together or not at all: without a secret store nothing is saved.

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
    // Without a secret store the PIN field is disabled and OK saves nothing.
    TfmGsmLine(Session& session, SecretStore* secrets, QWidget* parent = nullptr,
               QString deviceFolder = QStringLiteral("/dev"));

    QComboBox* EditDevice = nullptr; // editable
    QComboBox* cmbSpeed = nullptr;   // editable
    QLineEdit* EditPin = nullptr;    // empty: the stored PIN stays
    QLabel* lblPin = nullptr;        // whether a PIN is stored for the device, or why none can be
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate() override;
    // Asks the store whether it holds a PIN for the device in the box, and says so.
    void ShowPinState();
    void btnOKClick();

private:
    ProfileFile& file_;
    TSettings& settings_;
    SecretStore* secrets_;
    bool storeAnswers_ = false; // the store was there when last asked
    QString deviceFolder_;
};

} // namespace zolbin
