// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Почтовый сервер": the security of the SMTP connection, the login, its password and a file of
// CA certificates. The three settings go into section "Sender" of "Zolbin.ini"; the password only into
// the secret store, under the server of the settings in memory and the login typed.

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

class TfmMailServer final : public TDialog
{
    Q_OBJECT
public:
    // Without a secret store the password field is disabled.
    TfmMailServer(Session& session, SecretStore* secrets, QWidget* parent = nullptr);

    QComboBox* cmbSecurity = nullptr;
    QLineEdit* EditUser = nullptr;
    QLineEdit* EditPassword = nullptr;
    QLineEdit* EditCAFile = nullptr;
    QPushButton* btnCAFile = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormActivate() override;
    void btnOKClick();
    void btnCAFileClick();

private:
    ProfileFile& file_;
    TSettings& settings_;
    SecretStore* secrets_;
};

} // namespace zolbin
