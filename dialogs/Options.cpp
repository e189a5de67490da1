// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Options.h"

#include "dialogs/GsmLine.h"
#include "dialogs/MailServer.h"
#include "dialogs/SettingsKeys.h"
#include "dialogs/TapLine.h"
#include "directory/Lists.h"
#include "directory/Settings.h"
#include "directory/TextChecks.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/SpinField.h"
#include "records/OutboxLocks.h"
#include "records/OutboxServer.h"
#include "records/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

QLineEdit* addField(QGridLayout* grid, int row, const QString& label, int limit)
{
    auto* edit = new QLineEdit;
    edit->setMaxLength(limit);
    keepCp1251(edit);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

// A check box with its caption to the left of the box.
QCheckBox* makeCheck(const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

const char* flag(bool on)
{
    return on ? "1" : "0";
}

} // namespace

TfmOptions::TfmOptions(Session& session, QWidget* parent, SecretStore* secrets)
    : TDialog(parent), file_(session.settingsFile), settings_(session.settings), providers_(session.providers)
{
    setWindowTitle(tr("Настройки"));

    auto* senderGroup = new QGroupBox(tr("  Информация отправителя  "));
    auto* senderGrid = new QGridLayout(senderGroup);
    EditName = addField(senderGrid, 0, tr("Им&я"), 25);
    EditShName = addField(senderGrid, 1, tr("Подпи&сь"), 25);
    EditEMail = addField(senderGrid, 2, tr("E-Mail &адрес"), 80);
    EditSMTPSrv = addField(senderGrid, 3, tr("SMTP - c&ервер"), 80); // the "c" is Latin
    EditEMail->setMinimumWidth(220);

    auto* optionsGroup = new QGroupBox(tr("  Установки  "));
    auto* optionsLayout = new QVBoxLayout(optionsGroup);
    cmbProvider = new QComboBox;
    cmbProvider->setEditable(true);
    cmbProvider->setInsertPolicy(QComboBox::NoInsert);
    keepCp1251(cmbProvider);
    auto* providerLabel = new QLabel(tr("Пейд&ж. комп. по умол."));
    providerLabel->setBuddy(cmbProvider);
    auto* providerRow = new QHBoxLayout;
    providerRow->addWidget(providerLabel);
    providerRow->addWidget(cmbProvider, 1);
    optionsLayout->addLayout(providerRow);

    chbClear = makeCheck(tr("О&чищать окно ввода сразу после отправки  "));
    chbNoSplash = makeCheck(tr("Не показывать &заставку при старте"));
    chbTray = makeCheck(tr("Сво&рачивать в системную панель")); // the М is Cancel's
    for (QCheckBox* box : {chbClear, chbNoSplash, chbTray})
        optionsLayout->addWidget(box, 0, Qt::AlignLeft);
    EditRetry = new SpinField(0, MaxRetryMinutes);
    EditRetry->setObjectName(QStringLiteral("EditRetry"));
    EditRetry->setMaxLength(5);
    auto* retryLabel = new QLabel(tr("Повторять неотправленные сообщения в &течение"));
    retryLabel->setBuddy(EditRetry);
    auto* retryRow = new QHBoxLayout;
    retryRow->addWidget(retryLabel);
    retryRow->addWidget(EditRetry);
    retryRow->addWidget(new QLabel(tr("мин")));
    retryRow->addStretch(1);
    optionsLayout->addLayout(retryRow);
    EditOutbox = new QLineEdit;
    EditOutbox->setObjectName(QStringLiteral("EditOutbox"));
    EditOutbox->setPlaceholderText(QStringLiteral("postgresql://pager@db.example.org/paging"));
    keepCp1251(EditOutbox);
    auto* outboxLabel = new QLabel(tr("Общая очередь (PostgreSQL)"));
    outboxLabel->setBuddy(EditOutbox);
    btnCheckOutbox = new QPushButton(tr("Проверить"));
    btnCheckOutbox->setObjectName(QStringLiteral("btnCheckOutbox"));
    btnCheckOutbox->setAutoDefault(false);
    markCommand(btnCheckOutbox);
    connect(btnCheckOutbox, &QPushButton::clicked, this, guarded([this] { btnCheckOutboxClick(); }));
    auto* outboxRow = new QHBoxLayout;
    outboxRow->addWidget(outboxLabel);
    outboxRow->addWidget(EditOutbox, 1);
    outboxRow->addWidget(btnCheckOutbox);
    optionsLayout->addLayout(outboxRow);
    lblOutbox = new QLabel;
    lblOutbox->setObjectName(QStringLiteral("lblOutbox"));
    lblOutbox->setWordWrap(true);
    optionsLayout->addWidget(lblOutbox);

    auto* layoutGroup = new QGroupBox(tr("  Язык при старте  "));
    auto* layoutRow = new QHBoxLayout(layoutGroup);
    rbtnRus = new QRadioButton(tr("Р&усский"));
    rbtnEng = new QRadioButton(tr("Ан&глийский"));
    rbtnRus->setChecked(true);
    layoutRow->addWidget(rbtnRus);
    layoutRow->addWidget(rbtnEng);
    layoutRow->addStretch(1);
    optionsLayout->addWidget(layoutGroup);

    btnSave = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    useOk(btnSave, [this] { btnSaveClick(); });
    useCancel(btnCancel);
    btnMailServer = new QPushButton(tr("&Почтовый сервер…"));
    btnMailServer->setAutoDefault(false);
    markCommand(btnMailServer);
    fmMailServer = new TfmMailServer(session, secrets, this);
    connect(btnMailServer, &QPushButton::clicked, this, guarded([this] { btnMailServerClick(); }));
    btnTapLine = new QPushButton(tr("Ли&ния TAP…"));
    btnTapLine->setObjectName(QStringLiteral("btnTapLine"));
    btnTapLine->setAutoDefault(false);
    markCommand(btnTapLine);
    fmTapLine = new TfmTapLine(session, this);
    connect(btnTapLine, &QPushButton::clicked, this, guarded([this] { btnTapLineClick(); }));
    btnGsmLine = new QPushButton(tr("Лин&ия GSM…"));
    btnGsmLine->setObjectName(QStringLiteral("btnGsmLine"));
    btnGsmLine->setAutoDefault(false);
    markCommand(btnGsmLine);
    fmGsmLine = new TfmGsmLine(session, secrets, this);
    connect(btnGsmLine, &QPushButton::clicked, this, guarded([this] { fmGsmLine->showModal(); }));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnMailServer);
    buttons->addWidget(btnTapLine);
    buttons->addWidget(btnGsmLine);
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);

    // Said only while the sender's address is missing, when the main window opens the dialog by itself.
    lblWhy = new QLabel(tr("Программа не может отправлять сообщения, пока не указан ваш E-Mail адрес: "
                           "впишите его в поле «E-Mail адрес» и нажмите «Ок». До тех пор это окно "
                           "открывается само."));
    lblWhy->setObjectName(QStringLiteral("lblWhy"));
    lblWhy->setWordWrap(true);
    QSizePolicy keepRoom = lblWhy->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblWhy->setSizePolicy(keepRoom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblWhy);
    layout->addWidget(senderGroup);
    layout->addWidget(optionsGroup);
    layout->addLayout(buttons);

    fixSize();
}

TfmOptions::~TfmOptions()
{
    if (check_.joinable())
        check_.join();
}

// Filled from the settings in memory at every showing; typed values are not kept between showings.
void TfmOptions::FormActivate()
{
    cmbProvider->clear();
    for (const std::string& name : providers_.Names())
        cmbProvider->addItem(toQString(name));
    EditName->setText(toQString(settings_.Name));
    EditShName->setText(toQString(settings_.ShortName));
    EditEMail->setText(toQString(settings_.EMail));
    EditSMTPSrv->setText(toQString(settings_.SMTPServer));
    cmbProvider->setEditText(toQString(settings_.Company));
    chbClear->setChecked(settings_.Clear == 1);
    chbNoSplash->setChecked(settings_.NoSplash == 1);
    chbTray->setChecked(settings_.Tray == 1);
    EditRetry->setValue(settings_.RetryMinutes);
    EditOutbox->setText(toQString(settings_.OutboxDatabase));
    lblOutbox->clear();
    lblWhy->setVisible(settings_.EMail.empty());
    // Any other value leaves the pair as it was last shown.
    if (settings_.Layout == 0)
        rbtnRus->setChecked(true);
    else if (settings_.Layout == 1)
        rbtnEng->setChecked(true);
    EditName->setFocus();
}

void TfmOptions::btnSaveClick()
{
    if (!IsEMailAddress(toCp1251(EditEMail->text()))) {
        Prompts::message(tr("Неверный E-Mail адрес"));
        return;
    }
    bool whole = false;
    const int retry = EditRetry->text().trimmed().toInt(&whole);
    if (!whole || retry < 0 || retry > MaxRetryMinutes) {
        Prompts::message(tr("Время повторов - целое число минут от 0 до %1").arg(MaxRetryMinutes));
        EditRetry->setFocus();
        return;
    }
    const std::string outbox = toCp1251(EditOutbox->text().trimmed());
    if (!outbox.empty())
        if (const Result<std::string> usable = ServerConnectOptions(outbox); !usable) {
            Prompts::message(usable.failure().shown());
            EditOutbox->setFocus();
            return;
        }
    std::vector<SettingsKey> keys = {{SectionSender, "Name", toCp1251(EditName->text())},
                                     {SectionSender, "ShortName", toCp1251(EditShName->text())},
                                     {SectionSender, "EMail", toCp1251(EditEMail->text())},
                                     {SectionSender, "SMTPServer", toCp1251(EditSMTPSrv->text())},
                                     {SectionSetting, "Company", toCp1251(cmbProvider->currentText())},
                                     {SectionSetting, "Clear", flag(chbClear->isChecked())},
                                     {SectionSetting, "NoSplash", flag(chbNoSplash->isChecked())},
                                     {SectionSetting, "Tray", flag(chbTray->isChecked())},
                                     {SectionSetting, "Layout", rbtnRus->isChecked() ? "0" : "1"},
                                     {SectionSetting, "RetryMinutes", std::to_string(retry)}};
    // Written when a shared outbox is named or was: a desk on its own folder keeps its file as it was.
    if (!outbox.empty() || !settings_.OutboxDatabase.empty())
        keys.push_back({SectionOutbox, "Database", outbox});
    if (WriteSettingsKeys(file_, keys, settings_))
        accept();
}

// The mail server's settings are saved by their own dialog, whatever this one does afterwards.
void TfmOptions::btnMailServerClick()
{
    fmMailServer->showModal();
}

// Connects on a thread of its own (a server that does not answer is waited for there) and tells what it
// found when it is back; the key is saved only with "Ок".
void TfmOptions::btnCheckOutboxClick()
{
    const std::string database = toCp1251(EditOutbox->text().trimmed());
    if (database.empty()) {
        lblOutbox->setText(tr("Очередь - файл Outbox.db в папке данных"));
        return;
    }
    if (check_.joinable())
        check_.join();
    btnCheckOutbox->setEnabled(false);
    lblOutbox->setText(tr("Подключение…"));
    check_ = std::thread([this, database] {
        const Result<Text> found = CheckSharedOutbox(database);
        const QString said = found ? found.value().shown() : found.failure().shown();
        QMetaObject::invokeMethod(
            this,
            [this, said] {
                lblOutbox->setText(said);
                btnCheckOutbox->setEnabled(true);
            },
            Qt::QueuedConnection);
    });
}

// Like the mail server's, the line's settings are saved by their own dialog.
void TfmOptions::btnTapLineClick()
{
    fmTapLine->showModal();
}

} // namespace zolbin
