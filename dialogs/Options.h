// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog "Настройки": the sender's identity and the program's options.

#include "platform/ui/Dialog.h"

#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zolbin {

class ProfileFile;
class SecretStore;
class TfmMailServer;
class TfmTapLine;
class TfmGsmLine;
class SpinField;
class TProviderList;
struct Session;
struct TSettings;

class TfmOptions final : public TDialog
{
    Q_OBJECT
public:
    // The dialog edits the session's settings file and reloads its settings after a save; the company
    // box is refilled from the company list every time the dialog is shown.
    // The button "Почтовый сервер…" opens a dialog that keeps the SMTP login's password in the secret
    // store given (none: the password cannot be set). The button "Линия TAP…" opens the modem line's dialog.
    explicit TfmOptions(Session& session, QWidget* parent = nullptr, SecretStore* secrets = nullptr);
    ~TfmOptions() override;

    QLabel* lblWhy = nullptr; // why the dialog came up by itself: no sender's address yet
    QLineEdit* EditName = nullptr;
    QLineEdit* EditShName = nullptr;
    QLineEdit* EditEMail = nullptr;
    QLineEdit* EditSMTPSrv = nullptr;
    QComboBox* cmbProvider = nullptr;
    QCheckBox* chbClear = nullptr;
    QCheckBox* chbNoSplash = nullptr;
    QCheckBox* chbTray = nullptr;
    SpinField* EditRetry = nullptr; // "RetryMinutes": 0 = a page that failed is not tried again
    QRadioButton* rbtnRus = nullptr;
    QRadioButton* rbtnEng = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnMailServer = nullptr;
    TfmMailServer* fmMailServer = nullptr;
    QPushButton* btnTapLine = nullptr;
    TfmTapLine* fmTapLine = nullptr;
    QPushButton* btnGsmLine = nullptr; // opens fmGsmLine, which saves on its own
    TfmGsmLine* fmGsmLine = nullptr;
    // Key "Database" of section "Outbox": the outbox several desks share on PostgreSQL (empty: this
    // folder's own); "Проверить" connects off the window's thread and says in lblOutbox what it found.
    QLineEdit* EditOutbox = nullptr;
    QPushButton* btnCheckOutbox = nullptr;
    QLabel* lblOutbox = nullptr;

    void FormActivate() override;
    void btnSaveClick();
    void btnMailServerClick();
    void btnTapLineClick();
    void btnCheckOutboxClick();

private:
    ProfileFile& file_;
    TSettings& settings_;
    const TProviderList& providers_;
    std::thread check_; // the connection of "Проверить", joined before the dialog goes
};

} // namespace zolbin
