// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/PrvReg.h"

#include "directory/Lists.h"
#include "directory/TextChecks.h"
#include "directory/ui/SmsPanel.h"
#include "directory/ui/WctpPanel.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "records/Session.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <iterator>

namespace zolbin {

namespace {

constexpr int DesignWidth = 325;
constexpr int DesignHeight = 411;
constexpr int LongFieldLength = 80;
constexpr int CharsetLength = 8;

const char* const DefaultSNPPPort = "444";
const char* const DefaultSMTPPort = "25";
const char* const DefaultCharset = "KOI8-R";

QLineEdit* newEdit(int maxLength = 0)
{
    auto* edit = new QLineEdit;
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    keepCp1251(edit);
    return edit;
}

QComboBox* newCharsetBox()
{
    auto* box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char* name : {"DOS", "KOI8-R", "WIN-1251"})
        box->addItem(QLatin1String(name));
    box->lineEdit()->setMaxLength(CharsetLength);
    keepCp1251(box);
    return box;
}

// A labelled row whose label gives the keyboard focus to its field.
void addRow(QFormLayout* form, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
}

std::string fieldText(const QLineEdit* edit)
{
    return toCp1251(edit->text());
}

std::string fieldText(const QComboBox* box)
{
    return toCp1251(box->currentText());
}

} // namespace

TfmPrvReg::TfmPrvReg(Session& session, QWidget* parent)
    : TPropertiesDialog(tr("Новая пейдж. компания"), parent), providers_(session.providers),
      folder_(session.folder)
{
    buildUi();

    connect(gates_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            runCommand([this] { rgGateClick(); });
    });

    setMinimumSize(DesignWidth, DesignHeight);
    fixSize();
    SetAddMode();
}

void TfmPrvReg::buildUi()
{
    for (QPushButton* button : {btnOk, btnCancel})
        button->setFocusPolicy(Qt::TabFocus);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);

    auto* nameLabel = new QLabel(tr("И&мя пейдж. компании "));
    nameLabel->setBuddy(EditName);
    pageLayout->addWidget(nameLabel);
    pageLayout->addWidget(EditName);

    rgGate = new QGroupBox(tr("  Используемый &шлюз  "));
    rbSNPP = new QRadioButton(QStringLiteral("SNPP"));
    rbSMTP = new QRadioButton(QStringLiteral("SMTP"));
    rbTAP = new QRadioButton(QStringLiteral("TAP"));
    gates_ = new QButtonGroup(this);
    gates_->addButton(rbSNPP, Gate::SNPP);
    gates_->addButton(rbSMTP, Gate::SMTP);
    gates_->addButton(rbTAP, Gate::TAP);
    rbSMS = new QRadioButton(tr("SMS (GSM-модем)"));
    gates_->addButton(rbSMS, Gate::SMS);
    rbWCTP = new QRadioButton(QStringLiteral("WCTP"));
    rbWCTP->setObjectName(QStringLiteral("rbWCTP"));
    gates_->addButton(rbWCTP, Gate::WCTP);
    auto* gateRow = new QHBoxLayout(rgGate);
    for (QRadioButton* b : {rbSNPP, rbSMTP, rbTAP, rbSMS, rbWCTP})
        gateRow->addWidget(b, 1);
    pageLayout->addWidget(rgGate);

    PanelSNPP = new QGroupBox;
    EditSNPPSrv = newEdit(LongFieldLength);
    EditSNPPPort = newEdit();
    cmbSNPPEnc = newCharsetBox();
    EditSnppPswd = newEdit(LongFieldLength);
    auto* snpp = new QFormLayout(PanelSNPP);
    addRow(snpp, tr("SNPP - &cервер"), EditSNPPSrv);
    addRow(snpp, tr("П&орт"), EditSNPPPort);
    addRow(snpp, tr("Коди&ровка"), cmbSNPPEnc);
    addRow(snpp, tr("Паро&ль"), EditSnppPswd);

    PanelSMTP = new QGroupBox;
    EditSMTPEMail = newEdit(LongFieldLength);
    EditSMTPPort = newEdit();
    cmbSMTPEnc = newCharsetBox();
    auto* smtp = new QFormLayout(PanelSMTP);
    addRow(smtp, tr("E-Mail &адрес"), EditSMTPEMail);
    addRow(smtp, tr("Пор&т"), EditSMTPPort);
    addRow(smtp, tr("Кодиров&ка"), cmbSMTPEnc);

    PanelTAP = new QGroupBox;
    // The phone is dialled or connected to as it is stored, so it cannot be typed longer than the record
    // keeps: a cut number would reach someone else.
    EditTapPhone = newEdit(static_cast<int>(decltype(TProvider::TapPhone)::size));
    EditTapPswd = newEdit(LongFieldLength);
    auto* tap = new QFormLayout(PanelTAP);
    addRow(tap, tr("Теле&фон"), EditTapPhone);
    addRow(tap, tr("Парол&ь"), EditTapPswd);
    // The gates' panels in two columns: stacked, they were taller than a 1920 x 1080 screen at scale 2
    // (960 x 540) leaves a dialog.
    PanelSMS = NewSmsPanel(EditSmsPattern, btnGsmLine);
    connect(btnGsmLine, &QPushButton::clicked, this, [this] { emit gsmLineRequested(); });
    PanelWCTP = new TWctpPanel;
    auto* left = new QVBoxLayout;
    left->addWidget(PanelSNPP);
    left->addWidget(PanelTAP);
    left->addWidget(PanelSMS);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(PanelSMTP);
    right->addWidget(PanelWCTP);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    pageLayout->addLayout(columns);
    pageLayout->addStretch(1);

    PageControl = new QTabWidget;
    PageControl->addTab(page, tr("SNPP - доступ"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttonBar());
    layout->addWidget(PageControl, 1);
}

void TfmPrvReg::prepareAdd()
{
    setGate(Gate::SMTP);
    EditName->setFocus();
}

void TfmPrvReg::prepareChange(int index)
{
    if (index < 0 || index >= providers_.Count())
        return;
    const TProvider& p = *providers_.Items(index);
    EditName->setText(toQString(p.Name.str()));
    EditSNPPSrv->setText(toQString(p.SNPPSrv.str()));
    EditSNPPPort->setText(QString::number(p.SNPPPort));
    cmbSNPPEnc->setEditText(toQString(p.SNPPEnc.str()));
    EditSnppPswd->setText(toQString(p.SnppPswd.str()));
    EditSMTPEMail->setText(toQString(p.SMTPEMail.str()));
    EditSMTPPort->setText(QString::number(p.SMTPPort));
    cmbSMTPEnc->setEditText(toQString(p.SMTPEnc.str()));
    EditTapPhone->setText(toQString(p.TapPhone.str()));
    EditTapPswd->setText(toQString(p.TapPswd.str()));
    EditSmsPattern->setText(p.Gate == Gate::SMS ? toQString(p.TapPhone.str()) : QString());
    PanelWCTP->SetFields(p.Gate == Gate::WCTP ? WctpFieldsOf(p) : WctpFields{});
    if (p.Gate == Gate::WCTP) {
        // Those fields hold the WCTP panel's values: they stay out of the other panels.
        for (QLineEdit* edit : {EditSNPPSrv, EditSnppPswd, EditSMTPEMail, EditTapPhone})
            edit->clear();
    }
    setGate(p.Gate <= Gate::WCTP ? p.Gate : Gate::SMTP);
}

int TfmPrvReg::ChosenGate() const
{
    return gates_->checkedId();
}

void TfmPrvReg::FormActivate()
{
    PageControl->setCurrentIndex(0);
    if (adding()) {
        resetForNewCompany();
        EditName->setFocus();
    }
}

// Every control back to what a new company starts with.
void TfmPrvReg::resetForNewCompany()
{
    EditName->clear();
    setGate(Gate::SMTP);
    EditSNPPSrv->clear();
    EditSNPPPort->setText(QLatin1String(DefaultSNPPPort));
    EditSnppPswd->clear();
    cmbSNPPEnc->setEditText(QLatin1String(DefaultCharset));
    EditSMTPPort->setText(QLatin1String(DefaultSMTPPort));
    EditSMTPEMail->clear();
    cmbSMTPEnc->setEditText(QLatin1String(DefaultCharset));
    EditTapPhone->clear();
    EditTapPswd->clear();
    PanelWCTP->Clear();
    EditSmsPattern->clear();
}

void TfmPrvReg::setGate(int gate)
{
    if (QAbstractButton* button = gates_->button(gate))
        button->setChecked(true);
    enablePanels(gate); // also when the choice was already this gateway
}

// A disabled panel greys every field and label inside it with it. The page is named for the gateway.
void TfmPrvReg::enablePanels(int gate)
{
    static const char* const pageNames[] = {QT_TR_NOOP("SNPP - доступ"), QT_TR_NOOP("SMTP - доступ"),
                                            QT_TR_NOOP("TAP - доступ"), QT_TR_NOOP("SMS - доступ"),
                                            QT_TR_NOOP("WCTP - доступ")};
    if (gate >= 0 && gate < static_cast<int>(std::size(pageNames)))
        PageControl->setTabText(0, tr(pageNames[gate]));
    PanelSNPP->setEnabled(gate == Gate::SNPP);
    PanelSMTP->setEnabled(gate == Gate::SMTP);
    PanelTAP->setEnabled(gate == Gate::TAP);
    PanelWCTP->setEnabled(gate == Gate::WCTP);
    PanelSMS->setEnabled(gate == Gate::SMS);
}

void TfmPrvReg::rgGateClick()
{
    enablePanels(ChosenGate());
}

QString TfmPrvReg::checkInput() const
{
    const std::string name = fieldText(EditName);
    if (QString refusal = newNameRefusal(); !refusal.isEmpty())
        return refusal;
    if (adding() && name == HomeProviderName())
        return tr("Имя родного провайдера уникально и свято!");
    switch (ChosenGate()) {
    case Gate::SNPP:
        if (name.empty() || EditSNPPSrv->text().isEmpty() || EditSNPPPort->text().isEmpty())
            return tr("Не заполнен один из параметров SNPP-сервера");
        break;
    case Gate::SMTP:
        if (name.empty() || EditSMTPEMail->text().isEmpty() || EditSMTPPort->text().isEmpty())
            return tr("Не заполнен один из параметров SMTP-сервера");
        if (adding() && !IsEMailAddress(fieldText(EditSMTPEMail)))
            return tr("Неверный E-Mail адрес");
        break;
    case Gate::TAP:
        // The name as for the other gateways: a company without one could never be chosen.
        if (name.empty() || EditTapPhone->text().isEmpty())
            return tr("Не заполнен один из параметров TAP-сервера");
        break;
    case Gate::WCTP:
        if (name.empty())
            return tr("Не заполнен параметр WCTP-сервера: «Имя пейдж. компании»");
        return WctpFieldsProblem(PanelWCTP->Fields()).shown();
    case Gate::SMS:
        return SmsPanelRefusal(name, fieldText(EditSmsPattern));
    default:
        break;
    }
    return {};
}

// Both ports are converted whatever the gateway; a port that is no whole number fails with the
// conversion message.
Result<TProvider> TfmPrvReg::recordFromControls() const
{
    const Result<std::int32_t> snppPort = StrToInt(fieldText(EditSNPPPort));
    if (!snppPort)
        return snppPort.failure();
    const Result<std::int32_t> smtpPort = StrToInt(fieldText(EditSMTPPort));
    if (!smtpPort)
        return smtpPort.failure();
    TProvider p;
    p.Name = fieldText(EditName);
    p.Gate = static_cast<std::uint8_t>(ChosenGate());
    p.SNPPPort = snppPort.value();
    p.SMTPPort = smtpPort.value();
    p.SNPPSrv = fieldText(EditSNPPSrv);
    p.SNPPEnc = fieldText(cmbSNPPEnc);
    p.SnppPswd = fieldText(EditSnppPswd);
    p.SMTPEMail = fieldText(EditSMTPEMail);
    p.SMTPEnc = fieldText(cmbSMTPEnc);
    p.TapPhone = fieldText(ChosenGate() == Gate::SMS ? EditSmsPattern : EditTapPhone);
    p.TapPswd = fieldText(EditTapPswd);
    if (p.Gate == Gate::WCTP)
        StoreWctpFields(p, PanelWCTP->Fields());
    return p;
}

void TfmPrvReg::btnOkClick()
{
    if (const QString refusal = checkInput(); !refusal.isEmpty()) {
        Prompts::message(refusal);
        return;
    }
    Result<TProvider> read = recordFromControls();
    if (!succeeded(read))
        return;
    TProvider& record = read.value();
    if (adding()) {
        providers_.Add(std::make_shared<TProvider>(record));
        emit listChanged();
        resetForNewCompany();
        EditName->setFocus();
        (void)saved(providers_.Save(folder_));
        return;
    }
    if (EditIndex() < 0 || EditIndex() >= providers_.Count()) {
        reject();
        return;
    }
    TProvider& stored = *providers_.Items(EditIndex());
    record.Name = stored.Name.str(); // the name never changes here
    stored = record;
    accept();
    (void)saved(providers_.Save(folder_));
}

void TfmPrvReg::btnCancelClick()
{
    PageControl->setCurrentIndex(0);
    TPropertiesDialog::btnCancelClick();
}

} // namespace zolbin
