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

QString noStoreText()
{
    return TfmGsmLine::tr(
        "Хранилище паролей рабочего стола недоступно, поэтому ни PIN, ни линия GSM здесь не "
        "сохраняются. Запустите хранилище паролей (например, GNOME Keyring или KWallet) и "
        "откройте это окно снова.");
}

} // namespace

TfmGsmLine::TfmGsmLine(Session& session, SecretStore* secrets, QWidget* parent, QString deviceFolder)
    : TDialog(parent), file_(session.settingsFile), settings_(session.settings), secrets_(secrets),
      deviceFolder_(std::move(deviceFolder))
{
    setWindowTitle(tr("Линия GSM"));

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

    btnOK = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    const std::pair<QWidget*, const char*> names[] = {
        {EditDevice, "EditDevice"}, {cmbSpeed, "cmbSpeed"},   {EditPin, "EditPin"},
        {btnOK, "btnOK"},           {btnCancel, "btnCancel"},
    };
    for (const auto& [control, name] : names)
        control->setObjectName(QLatin1String(name));

    auto* group = new QGroupBox(tr("  GSM-модем  "));
    auto* grid = new QGridLayout(group);
    AddGridRow(grid, 0, tr("&Устройство"), EditDevice);
    AddGridRow(grid, 1, tr("&Скорость"), cmbSpeed);
    AddGridRow(grid, 2, tr("&PIN SIM-карты"), EditPin);
    lblPin = new QLabel;
    lblPin->setObjectName(QStringLiteral("lblPin"));
    lblPin->setWordWrap(true);
    lblPin->setText(noStoreText()); // the longest it says: the dialog's size has room for each
    lblPin->setMinimumWidth(EditDevice->minimumWidth() + 80);
    grid->addWidget(lblPin, 3, 0, 1, 2);
    EditPin->setEnabled(secrets_ != nullptr);
    EditPin->setToolTip(tr("Пустое поле оставляет сохранённый PIN. Неверный PIN повторно не вводится: "
                           "три неверных блокируют SIM-карту."));
    // The PIN is kept under the device: another device, another answer.
    connect(EditDevice, &QComboBox::activated, this, guarded([this] { ShowPinState(); }));
    connect(EditDevice->lineEdit(), &QLineEdit::editingFinished, this, guarded([this] { ShowPinState(); }));

    useOk(btnOK, [this] { btnOKClick(); });
    useCancel(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(okCancelRow(btnOK, btnCancel));
    fixSize();
}

// Filled from the settings in memory at every showing; the PIN field always starts empty.
void TfmGsmLine::FormActivate()
{
    EditDevice->clear();
    EditDevice->addItems(PresentSerialDevices(deviceFolder_));
    EditDevice->setEditText(toQString(settings_.GsmDevice));
    cmbSpeed->setEditText(QString::number(settings_.GsmSpeed));
    EditPin->clear();
    ShowPinState();
    EditDevice->setFocus();
}

void TfmGsmLine::ShowPinState()
{
    storeAnswers_ = false;
    if (secrets_ == nullptr) {
        lblPin->setText(noStoreText());
        return;
    }
    const std::string device = toCp1251(EditDevice->currentText().trimmed());
    const SecretStore::Answer answer = secrets_->read(SimPinSecretKey(device));
    storeAnswers_ = answer.outcome != SecretStore::Outcome::NoStore;
    EditPin->setEnabled(storeAnswers_);
    switch (answer.outcome) {
    case SecretStore::Outcome::Done:
        lblPin->setText(tr("PIN SIM-карты для этого устройства сохранён в хранилище паролей. "
                           "Пустое поле его не меняет."));
        break;
    case SecretStore::Outcome::NotFound:
        lblPin->setText(tr("PIN SIM-карты для этого устройства не сохранён. Введите его, если "
                           "SIM-карта спрашивает PIN."));
        break;
    case SecretStore::Outcome::NoStore:
        lblPin->setText(noStoreText());
        break;
    default:
        lblPin->setText(QString::fromStdString(answer.reason));
        break;
    }
}

void TfmGsmLine::btnOKClick()
{
    if (!storeAnswers_) {
        Prompts::message(noStoreText());
        return;
    }
    const std::optional<LineFields> line = ReadLineFields(EditDevice, cmbSpeed, "GSM");
    if (!line)
        return;
    const std::string pin = EditPin->text().toStdString();
    if (!pin.empty() && pin.size() < 4) {
        Prompts::message(tr("PIN SIM-карты — от 4 до 8 цифр"));
        return;
    }
    // The PIN first: a store that refuses it leaves the line as it was.
    if (!StoreTypedSecret(secrets_, SimPinSecretKey(line->device), pin, tr("PIN и линия GSM не сохранены")))
        return;
    EditPin->clear();
    if (WriteSettingsKeys(
            file_, {{SectionGsm, "Device", line->device}, {SectionGsm, "Speed", std::to_string(line->speed)}},
            settings_))
        accept();
}

} // namespace zolbin
