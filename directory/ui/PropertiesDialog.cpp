// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/PropertiesDialog.h"

#include "directory/Lists.h"
#include "directory/TextChecks.h"
#include "platform/Codepage.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <utility>

namespace zolbin {

namespace {

constexpr int NameLength = 25;

// Editable on the window colour (a new entry), or read-only on the button-face colour.
void setNameReadOnly(QLineEdit* edit, bool readOnly)
{
    edit->setReadOnly(readOnly);
    QPalette palette = edit->palette();
    const QPalette standard = QApplication::palette(edit);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base,
                         readOnly ? standard.color(group, QPalette::Button)
                                  : standard.color(group, QPalette::Base));
    edit->setPalette(palette);
}

} // namespace

// The controls are made without a parent: the dialog's layouts take them in its own order, which keeps
// the tab order the layout gives.
TPropertiesDialog::TPropertiesDialog(QString addCaption, QWidget* parent)
    : TDialog(parent), addCaption_(std::move(addCaption))
{
    setWindowTitle(addCaption_);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    EditName = new QLineEdit;
    EditName->setMaxLength(NameLength);
    keepCp1251(EditName);
    btnOk = new QPushButton(tr("До&бавить"));
    btnCancel = new QPushButton(tr("В&ыход"));
    for (QPushButton* button : {btnOk, btnCancel})
        button->setAutoDefault(false);

    useOk(btnOk, [this] { btnOkClick(); });
    useCancel(btnCancel, [this] { btnCancelClick(); });
}

QHBoxLayout* TPropertiesDialog::buttonBar()
{
    auto* bar = new QHBoxLayout;
    bar->addWidget(btnOk);
    bar->addWidget(btnCancel);
    bar->addStretch(1);
    return bar;
}

void TPropertiesDialog::SetAddMode()
{
    setWindowTitle(addCaption_);
    btnOk->setText(tr("До&бавить"));
    setNameReadOnly(EditName, false);
    mode_ = AddMode;
    editIndex_ = -1;
    prepareAdd();
}

void TPropertiesDialog::SetChangeMode(int index)
{
    setWindowTitle(tr("Свойства"));
    btnOk->setText(tr("Со&хранить"));
    setNameReadOnly(EditName, true);
    mode_ = ChangeMode;
    editIndex_ = index;
    prepareChange(index);
}

void TPropertiesDialog::btnCancelClick()
{
    reject();
}

// The refusal is shown once the host has reloaded what the files hold.
bool TPropertiesDialog::saved(const Status& save)
{
    if (!save && IsListFileChanged(save.failure()))
        emit listFileChanged();
    return succeeded(save);
}

QString TPropertiesDialog::newNameRefusal() const
{
    if (adding() && HasControlCharacters(toCp1251(EditName->text())))
        return tr("Имя не должно содержать управляющих символов (перевод строки, табуляция, Esc).");
    return {};
}

} // namespace zolbin
