// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Later.h"

#include "directory/SendParams.h"
#include "dispatch/ServiceSettings.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/SpinField.h"
#include "records/Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

SpinField* makeSpin(std::int32_t minValue, std::int32_t maxValue, int width = 52)
{
    auto* field = new SpinField(minValue, maxValue);
    field->setFixedWidth(width);
    return field;
}

QLabel* makeLabel(const QString& caption, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(caption);
    if (buddy != nullptr)
        label->setBuddy(buddy);
    return label;
}

// A row of a group: the label in the first column, the fields with their units after it.
void addRow(QGridLayout* grid, int row, QLabel* label, std::initializer_list<QWidget*> widgets)
{
    auto* line = new QHBoxLayout;
    for (QWidget* widget : widgets)
        line->addWidget(widget);
    line->addStretch(1);
    grid->addWidget(label, row, 0);
    grid->addLayout(line, row, 1);
}

QPushButton* makeToggle(const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setCheckable(true);
    TDialog::markCommand(button);
    return button;
}

} // namespace

TfmLater::TfmLater(Session& session, QWidget* parent) : TDialog(parent), params_(session.SendParams)
{
    setWindowTitle(tr("Сервисные функции"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    EditDay = makeSpin(1, 31);
    cmbMonth = new QComboBox;
    cmbMonth->setEditable(true);
    cmbMonth->setInsertPolicy(QComboBox::NoInsert);
    keepCp1251(cmbMonth);
    for (const Text& name : MonthTexts())
        cmbMonth->addItem(name.shown());
    EditYear = makeSpin(0, 0, 64); // no range
    EditHour = makeSpin(0, 23);
    EditMin = makeSpin(0, 59);
    auto* laterGroup = new QGroupBox(tr(" Отложить "));
    auto* laterGrid = new QGridLayout(laterGroup);
    addRow(laterGrid, 0, makeLabel(tr("Д&ата"), EditDay), {EditDay, cmbMonth, EditYear});
    addRow(laterGrid, 1, makeLabel(tr("Врем&я"), EditHour),
           {EditHour, makeLabel(tr("ч.")), EditMin, makeLabel(tr("мин."))});

    EditRepCount = makeSpin(1, 2);
    EditRepHour = makeSpin(0, 23);
    EditRepMin = makeSpin(0, 59);
    auto* repeatGroup = new QGroupBox(tr(" Повторить "));
    auto* repeatGrid = new QGridLayout(repeatGroup);
    addRow(repeatGrid, 0, makeLabel(tr("Ко&л-во"), EditRepCount), {EditRepCount});
    addRow(repeatGrid, 1, makeLabel(tr("Ин&тервал"), EditRepHour),
           {EditRepHour, makeLabel(tr("ч.")), EditRepMin, makeLabel(tr("мин."))});

    btnLater = makeToggle(tr("Отло&жить"));
    btnRepeat = makeToggle(tr("По&вторить"));
    btnOK = new QPushButton(tr("О&к"));
    btnCancel = new QPushButton(tr("От&мена"));
    for (QPushButton* button : {btnLater, btnRepeat, btnOK, btnCancel})
        button->setAutoDefault(false);
    connect(btnLater, &QPushButton::clicked, this, guarded([this] { btnLaterClick(); }));
    connect(btnRepeat, &QPushButton::clicked, this, guarded([this] { btnLaterClick(); }));
    useOk(btnOK, [this] { btnOKClick(); });
    useCancel(btnCancel);

    auto* groups = new QVBoxLayout;
    groups->addWidget(laterGroup);
    groups->addWidget(repeatGroup);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnLater);
    buttons->addWidget(btnRepeat);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons);

    setTabOrder(EditDay, cmbMonth);
    fixSize();
}

// The present moment, not the settings in force; the settings and the summary are left alone.
void TfmLater::FormActivate()
{
    const QDateTime now = Clock::current().now();
    EditYear->setValue(now.date().year());
    EditDay->setValue(now.date().day());
    cmbMonth->setCurrentIndex(now.date().month() - 1);
    cmbMonth->setEditText(MonthTexts().at(static_cast<std::size_t>(now.date().month() - 1)).shown());
    EditHour->setValue(now.time().hour());
    EditMin->setValue(now.time().minute());
    EditRepCount->setValue(1);
    EditRepHour->setValue(0);
    EditRepMin->setValue(0);
    btnLater->setChecked(false);
    btnRepeat->setChecked(false);
    EditDay->setFocus();
}

ServiceForm TfmLater::currentForm() const
{
    ServiceForm form;
    form.later = btnLater->isChecked();
    form.repeat = btnRepeat->isChecked();
    form.day = toCp1251(EditDay->text());
    form.month = toCp1251(cmbMonth->currentText());
    form.year = toCp1251(EditYear->text());
    form.hour = toCp1251(EditHour->text());
    form.minute = toCp1251(EditMin->text());
    form.repCount = toCp1251(EditRepCount->text());
    form.repHour = toCp1251(EditRepHour->text());
    form.repMinute = toCp1251(EditRepMin->text());
    return form;
}

// Either toggle, after it has changed its state. The year and the day must be whole numbers whichever
// toggle it was (the conversion error leaves the toggle as it is); the date itself is checked only while
// deferral is on, and an impossible one switches deferral off again.
void TfmLater::btnLaterClick()
{
    const ServiceForm form = currentForm();
    if (!form.later) {
        if (succeeded(StrToInt(form.year)))
            (void)succeeded(StrToInt(form.day));
        return;
    }
    const Result<bool> valid = DeferralDateValid(form);
    if (!succeeded(valid))
        return;
    if (!valid.value()) {
        Prompts::message(tr("Invalid argument to date encode"));
        btnLater->setChecked(false);
    }
}

// A repeat count that is no whole number stops here with the error shown and the dialog open.
void TfmLater::btnOKClick()
{
    if (!succeeded(ApplyServiceForm(currentForm(), params_, summary_)))
        return;
    accept();
}

} // namespace zolbin
