// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/WctpPanel.h"

#include "platform/Codepage.h"
#include "platform/ui/Cp1251Input.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace zolbin {

namespace {

// A field as long as the record keeps it: a cut URL or pattern would reach somebody else.
QLineEdit* newEdit(const char* name, std::size_t length)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(static_cast<int>(length));
    keepCp1251(edit);
    return edit;
}

void addRow(QFormLayout* form, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
}

} // namespace

TWctpPanel::TWctpPanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("PanelWCTP"));
    EditWctpUrl = newEdit("EditWctpUrl", decltype(TProvider::SNPPSrv)::size);
    EditWctpSender = newEdit("EditWctpSender", decltype(TProvider::SMTPEMail)::size);
    EditWctpCode = newEdit("EditWctpCode", decltype(TProvider::SnppPswd)::size);
    EditWctpCode->setEchoMode(QLineEdit::Password);
    EditWctpPattern = newEdit("EditWctpPattern", decltype(TProvider::TapPhone)::size);
    auto* form = new QFormLayout(this);
    addRow(form, tr("WCTP - &URL"), EditWctpUrl);
    addRow(form, tr("От&правитель"), EditWctpSender);
    addRow(form, tr("Код &доступа"), EditWctpCode);
    addRow(form, tr("Полу&чатель (#)"), EditWctpPattern);
}

WctpFields TWctpPanel::Fields() const
{
    return {toCp1251(EditWctpUrl->text()), toCp1251(EditWctpSender->text()), toCp1251(EditWctpCode->text()),
            toCp1251(EditWctpPattern->text())};
}

void TWctpPanel::SetFields(const WctpFields& fields)
{
    EditWctpUrl->setText(toQString(fields.url));
    EditWctpSender->setText(toQString(fields.senderId));
    EditWctpCode->setText(toQString(fields.securityCode));
    EditWctpPattern->setText(toQString(fields.pattern));
}

void TWctpPanel::Clear()
{
    SetFields({});
}

} // namespace zolbin
