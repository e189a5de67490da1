// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/MailServer.h"

#include "dialogs/SettingsKeys.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/UiText.h"
#include "records/Session.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

QLineEdit* makeField(int limit)
{
    auto* edit = new QLineEdit;
    edit->setMaxLength(limit);
    return edit;
}

void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* field, QWidget* extra = nullptr)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    if (extra == nullptr) {
        grid->addWidget(field, row, 1, 1, 2);
        return;
    }
    grid->addWidget(field, row, 1);
    grid->addWidget(extra, row, 2);
}

} // namespace

TfmMailServer::TfmMailServer(Session& session, SecretStore* secrets, QWidget* parent)
    : TDialog(parent), file_(session.settingsFile), settings_(session.settings), secrets_(secrets)
{
    setWindowTitle(tr("Почтовый сервер"));

    cmbSecurity = new QComboBox;
    cmbSecurity->addItems({tr("Нет"), QStringLiteral("STARTTLS"), QStringLiteral("TLS (SSL)")});
    EditUser = makeField(80);
    keepCp1251(EditUser);
    EditPassword = makeField(128);
    EditPassword->setEchoMode(QLineEdit::Password);
    EditCAFile = makeField(255);
    keepCp1251(EditCAFile);
    EditCAFile->setMinimumWidth(240);
    btnCAFile = new QPushButton(uiText("…"));
    btnCAFile->setAutoDefault(false);
    btnCAFile->setFixedWidth(btnCAFile->sizeHint().height() + 8);
    connect(btnCAFile, &QPushButton::clicked, this, guarded([this] { btnCAFileClick(); }));

    auto* group = new QGroupBox(tr("  SMTP - сервер  "));
    auto* grid = new QGridLayout(group);
    addRow(grid, 0, tr("&Защита"), cmbSecurity);
    addRow(grid, 1, tr("По&льзователь"), EditUser);
    addRow(grid, 2, tr("Па&роль"), EditPassword);
    addRow(grid, 3, tr("&Файл сертификатов ЦС"), EditCAFile, btnCAFile);
    auto* note = new QLabel;
    note->setObjectName("lblPassword");
    note->setWordWrap(true);
    grid->addWidget(note, 4, 1, 1, 2);
    if (secrets_ == nullptr) {
        EditPassword->setEnabled(false);
        note->setText(tr("Хранилище паролей рабочего стола недоступно, поэтому пароль здесь не "
                         "сохранить. Запустите хранилище паролей и откройте это окно снова."));
    } else {
        note->setText(tr("Пароль хранится в хранилище паролей рабочего стола; пустое поле - не менять"));
    }

    btnOK = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    useOk(btnOK, [this] { btnOKClick(); });
    useCancel(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(okCancelRow(btnOK, btnCancel));
    fixSize();
}

// Filled from the settings in memory at every showing; the password field always starts empty.
void TfmMailServer::FormActivate()
{
    cmbSecurity->setCurrentIndex(settings_.SMTPSecurity <= 2 ? settings_.SMTPSecurity : 0);
    EditUser->setText(toQString(settings_.SMTPUser));
    EditPassword->clear();
    EditCAFile->setText(toQString(settings_.SMTPCAFile));
    cmbSecurity->setFocus();
}

void TfmMailServer::btnCAFileClick()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Файл сертификатов ЦС"), EditCAFile->text(),
                                                        tr("Сертификаты PEM (*.pem *.crt);;Все файлы (*)"));
    if (!chosen.isEmpty())
        EditCAFile->setText(chosen);
}

void TfmMailServer::btnOKClick()
{
    const std::string user = toCp1251(EditUser->text());
    const std::string password = EditPassword->text().toStdString();
    if (!password.empty() && user.empty()) {
        Prompts::message(tr("Пароль сохраняется только вместе с именем пользователя"));
        return;
    }
    if (!WriteSettingsKeys(file_,
                           {{SectionSender, "SMTPSecurity", std::to_string(cmbSecurity->currentIndex())},
                            {SectionSender, "SMTPUser", user},
                            {SectionSender, "SMTPCAFile", toCp1251(EditCAFile->text())}},
                           settings_))
        return;
    const bool stored = StoreTypedSecret(secrets_, SmtpSecretKey(settings_.SMTPServer, user), password,
                                         tr("Пароль не сохранён"));
    EditPassword->clear();
    if (stored)
        accept();
}

} // namespace zolbin
