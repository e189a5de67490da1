// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Unlisted.h"

#include "dialogs/Later.h"
#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "dispatch/Recipient.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "records/Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

constexpr int NumberLength = 10;
constexpr std::int32_t UnlistedMaxLen = 240;

// The picture of the service button: a small clock face.
QIcon servicePicture()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 0, 0), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(QPointF(8, 8), QPointF(8, 4));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    return QIcon(pixmap);
}

} // namespace

TfmUnlisted::TfmUnlisted(Session& session, QWidget* parent)
    : TDialog(parent), params_(session.SendParams), curGroup_(session.CurGroup),
      providers_(session.providers), settings_(session.settings)
{
    setWindowTitle(tr("Незарегистрированный абонент"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    EditNum = new QLineEdit;
    EditNum->setMaxLength(NumberLength);
    keepCp1251(EditNum);
    auto* numLabel = new QLabel(tr("N пейд&ж."));
    numLabel->setBuddy(EditNum);

    cmbProvider = new QComboBox;
    cmbProvider->setEditable(true);
    cmbProvider->setInsertPolicy(QComboBox::NoInsert);
    cmbProvider->setMinimumWidth(200);
    keepCp1251(cmbProvider);
    auto* providerLabel = new QLabel(tr("П&ейдж. компания"));
    providerLabel->setBuddy(cmbProvider);

    btnLater = new QToolButton;
    btnLater->setIcon(servicePicture());
    btnLater->setToolTip(tr("Сервисные функции"));
    btnLater->setFocusPolicy(Qt::TabFocus);

    auto* fields = new QGridLayout;
    fields->addWidget(numLabel, 0, 0);
    auto* numRow = new QHBoxLayout;
    numRow->addWidget(EditNum);
    numRow->addStretch(1);
    numRow->addWidget(btnLater);
    fields->addLayout(numRow, 0, 1);
    fields->addWidget(providerLabel, 1, 0);
    fields->addWidget(cmbProvider, 1, 1);

    btnOK = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    for (QPushButton* button : {btnOK, btnCancel})
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(okCancelRow(btnOK, btnCancel));

    connect(EditNum, &QLineEdit::textChanged, this, guarded([this] { EditNumChange(); }));
    connect(cmbProvider, &QComboBox::editTextChanged, this, guarded([this] {
                if (!fillingCompanies_)
                    cmbProviderChange();
            }));
    // Choosing from the list is a change even when the chosen name is the one already shown.
    connect(cmbProvider, &QComboBox::activated, this, guarded([this] { cmbProviderChange(); }));
    connect(btnLater, &QToolButton::clicked, this, guarded([this] { btnLaterClick(); }));
    useOk(btnOK, [this] { btnOKClick(); });
    useCancel(btnCancel);

    fixSize();
}

// Nothing is kept between showings: the number is cleared (which disables the service button) and the
// company box is refilled and set to the default company of the settings.
void TfmUnlisted::FormActivate()
{
    EditNum->clear();
    EditNumChange(); // clearing an already empty field is a change too
    EditNum->setFocus();
    fillingCompanies_ = true;
    cmbProvider->clear();
    for (const std::string& name : providers_.Names())
        cmbProvider->addItem(toQString(name));
    cmbProvider->setEditText(toQString(settings_.Company));
    fillingCompanies_ = false;
}

void TfmUnlisted::EditNumChange()
{
    btnLater->setEnabled(!EditNum->text().isEmpty());
}

// The operator typed or chose a company. A text that names no company leaves the button disabled.
void TfmUnlisted::cmbProviderChange()
{
    btnLater->setEnabled(ServiceAvailableFor(toCp1251(cmbProvider->currentText()), providers_));
}

void TfmUnlisted::btnLaterClick()
{
    if (later_ != nullptr)
        later_->showModal();
}

// A number that is no 32-bit whole number stops here with the error shown; nothing changes.
void TfmUnlisted::btnOKClick()
{
    const Result<std::int32_t> number = StrToInt(toCp1251(EditNum->text()));
    if (!succeeded(number))
        return;
    params_.CurNumber = number.value();
    params_.CurName.clear();
    params_.CurProvider = toCp1251(cmbProvider->currentText());
    params_.CurDigital = 0;
    params_.CurMaxLen = UnlistedMaxLen;
    curGroup_ = -1;
    accept();
}

} // namespace zolbin
