// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/DelArch.h"

#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "platform/ui/CommandGuard.h"
#include "records/Archive.h"
#include "records/Session.h"
#include "records/ui/RecordFiles.h"

#include <QByteArray>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

// Each line keeps the name of its subscriber beside the text it shows.
constexpr int NameRole = Qt::UserRole;

} // namespace

TfmDelArch::TfmDelArch(const Session& session, QWidget* parent)
    : TDialog(parent), abonents_(session.abonents), folder_(session.folder)
{
    setWindowTitle(tr("Удаление архива"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    lbAbonent = new QListWidget;
    lbAbonent->setObjectName(QStringLiteral("lbAbonent"));
    lbAbonent->setFixedSize(280, 260);

    cbxSelectAll = new QCheckBox(tr("Вс&е"));
    cbxSelectAll->setToolTip(tr("Выбрать всех абонентов"));
    btnOK = new QPushButton(tr("Уд&алить"));
    btnCancel = new QPushButton(tr("В&ыход"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbxSelectAll);
    buttons->addStretch(1);
    for (QPushButton* button : {btnOK, btnCancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbAbonent);
    layout->addLayout(buttons);

    connect(cbxSelectAll, &QCheckBox::clicked, this,
            [this](bool checked) { runCommand([this, checked] { cbxSelectAllClick(checked); }); });
    useOk(
        btnOK, [this] { btnOKClick(); }, EnterKey::Ignored);
    useCancel(btnCancel);

    fixSize();
}

void TfmDelArch::FormActivate()
{
    lbAbonent->clear();
    const std::vector<std::string> lines = abonents_.DisplayLines();
    for (int i = 0; i < abonents_.Count(); ++i) {
        auto* item = new QListWidgetItem(toQString(lines[static_cast<std::size_t>(i)]), lbAbonent);
        const std::string name = abonents_.Items(i)->Name.str();
        item->setData(NameRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (lbAbonent->count() > 0)
        lbAbonent->setCurrentRow(0);
    cbxSelectAll->setChecked(false);
    lbAbonent->setFocus();
}

void TfmDelArch::cbxSelectAllClick(bool checked)
{
    for (int i = 0; i < lbAbonent->count(); ++i)
        lbAbonent->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// The archive deleted is the one of the subscriber on the ticked line, named by its record: a name
// that itself holds " -- " can neither miss its own archive nor hit another subscriber's.
void TfmDelArch::btnOKClick()
{
    for (int i = 0; i < lbAbonent->count(); ++i) {
        QListWidgetItem* item = lbAbonent->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        const QByteArray name = item->data(NameRole).toByteArray();
        DeleteArchive(folder_, std::string(name.constData(), static_cast<std::size_t>(name.size())));
        item->setCheckState(Qt::Unchecked);
    }
    cbxSelectAll->setChecked(false);
}

} // namespace zolbin
