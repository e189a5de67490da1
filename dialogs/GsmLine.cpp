// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/GsmLine.h"

#include "dialogs/SettingsKeys.h"
#include "dialogs/TapLine.h"
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
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <utility>

namespace zolbin {

namespace {

constexpr int DeviceLength = 255;

} // namespace

TfmGsmLine::TfmGsmLine(Session& session, SecretStore* secrets, QWidget* parent, QString deviceFolder)
    : TDialog(parent), file_(session.settingsFile), settings_(session.settings), secrets_(secrets),
      deviceFolder_(std::move(deviceFolder))
{
    setWindowTitle(uiText("Линия GSM"));

    EditDevice = MakeEditableBox(DeviceLength);
    EditDevice->setMinimumWidth(240);
    cmbSpeed = MakeEditableBox(10);
    for (const char* speed : {"9600", "19200", "38400", "57600", "115200", "230400", "460800"})
        cmbSpeed->addItem(QLatin1String(speed));
    EditPin = new QLineEdit;
    EditPin->setMaxLength(8);
    EditPin->setEchoMode(QLineEdit::Password);
    EditPin->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), EditPin));

    btnOK = new QPushButton(uiText("О&к"));
    btnCancel = new QPushButton(uiText("От&мена"));
    const std::pair<QWidget*, const char*> names[] = {
        {EditDevice, "EditDevice"}, {cmbSpeed, "cmbSpeed"},   {EditPin, "EditPin"},
        {btnOK, "btnOK"},           {btnCancel, "btnCancel"},
    };
    for (const auto& [control, name] : names)
        control->setObjectName(QLatin1String(name));

    auto* group = new QGroupBox(uiText("  GSM-модем  "));
    auto* grid = new QGridLayout(group);
    AddGridRow(grid, 0, "&Устройство", EditDevice);
    AddGridRow(grid, 1, "&Скорость", cmbSpeed);
    AddGridRow(grid, 2, "&PIN SIM-карты", EditPin);
    auto* note = new QLabel;
    note->setObjectName(QStringLiteral("lblPin"));
    note->setWordWrap(true);
    grid->addWidget(note, 3, 0, 1, 2);
    if (secrets_ == nullptr) {
        EditPin->setEnabled(false);
        note->setText(uiText("Хранилище паролей недоступно"));
    } else {
        note->setText(uiText("PIN хранится в хранилище паролей рабочего стола; пустое поле — не менять. "
                             "Неверный PIN повторно не вводится: три неверных блокируют SIM-карту."));
    }

    connect(btnOK, &QPushButton::clicked, this, guarded([this] { btnOKClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, guarded([this] { btnCancelClick(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(okCancelRow(btnOK, btnCancel));
    fixSize();
}

void TfmGsmLine::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event);
    FormActivate();
    EditDevice->setFocus();
}

// Filled from the settings in memory at every showing; the PIN field always starts empty.
void TfmGsmLine::FormActivate()
{
    EditDevice->clear();
    EditDevice->addItems(PresentSerialDevices(deviceFolder_));
    EditDevice->setEditText(toQString(settings_.GsmDevice));
    cmbSpeed->setEditText(QString::number(settings_.GsmSpeed));
    EditPin->clear();
}

void TfmGsmLine::btnOKClick()
{
    const std::optional<LineFields> line = ReadLineFields(EditDevice, cmbSpeed, "GSM");
    if (!line)
        return;
    const std::string pin = EditPin->text().toStdString();
    if (!pin.empty() && pin.size() < 4) {
        Prompts::message(cp("PIN SIM-карты — от 4 до 8 цифр"));
        return;
    }
    if (!WriteSettingsKeys(
            file_, {{SectionGsm, "Device", line->device}, {SectionGsm, "Speed", std::to_string(line->speed)}},
            settings_))
        return;
    const bool stored = StoreTypedSecret(secrets_, SimPinSecretKey(line->device), pin, "PIN не сохранён");
    EditPin->clear();
    if (stored)
        accept();
}

void TfmGsmLine::btnCancelClick()
{
    reject();
}

bool TfmGsmLine::enterPressed()
{
    runCommand([this] { btnOKClick(); });
    return true;
}

} // namespace zolbin
