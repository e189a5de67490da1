// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/GrReg.h"

#include "directory/Lists.h"
#include "directory/ui/RegControls.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "records/Session.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

namespace {

// Each arrow has its keys on the list it takes from, since the arrows themselves take no focus; their
// hint and accessible name say what they do and which key does it.
QPushButton* arrowButton(const char* caption, const QString& action, const QString& key)
{
    auto* button = new QPushButton(QString::fromLatin1(caption));
    button->setAccessibleName(action);
    button->setToolTip(action + QStringLiteral(" (") + key + QLatin1Char(')'));
    // The arrows never take the focus: it stays on the list last used, which decides what they do.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setFixedWidth(32);
    return button;
}

} // namespace

TfmGrReg::TfmGrReg(Session& session, QWidget* parent)
    : TPropertiesDialog(tr("Новая группа"), parent), abonents_(session.abonents), groups_(session.groups),
      folder_(session.folder)
{
    buildUi();

    connect(btnAllR, &QPushButton::clicked, this, guarded([this] { btnAllRClick(); }));
    connect(btnOneR, &QPushButton::clicked, this, guarded([this] { btnOneRClick(); }));
    connect(btnOneL, &QPushButton::clicked, this, guarded([this] { btnOneLClick(); }));
    connect(btnAllL, &QPushButton::clicked, this, guarded([this] { btnAllLClick(); }));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == lbAbonent)
            lbAbonentEnter();
        else if (now == lbGroup)
            lbGroupEnter();
    });

    fixSize();
}

void TfmGrReg::buildUi()
{
    auto* nameLabel = new QLabel(tr("И&мя группы"));
    nameLabel->setBuddy(EditName);

    lbAbonent = new QListWidget;
    lbGroup = new QListWidget;
    for (QListWidget* list : {lbAbonent, lbGroup}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFixedSize(110, 150);
    }
    lbAbonent->setAccessibleName(tr("Все абоненты"));
    lbGroup->setAccessibleName(tr("Абоненты группы"));
    auto* allLabel = new QLabel(tr("В&се абоненты"));
    allLabel->setBuddy(lbAbonent);
    auto* membersLabel = new QLabel(tr("Абоненты &группы"));
    membersLabel->setBuddy(lbGroup);

    btnAllR =
        arrowButton(">>", tr("Добавить в группу всех абонентов"), tr("Ctrl+Вправо в списке всех абонентов"));
    btnOneR =
        arrowButton(">", tr("Добавить абонента в группу"), tr("Вправо или Insert в списке всех абонентов"));
    btnOneL =
        arrowButton("<", tr("Убрать абонента из группы"), tr("Влево или Delete в списке абонентов группы"));
    btnAllL =
        arrowButton("<<", tr("Убрать из группы всех абонентов"), tr("Ctrl+Влево в списке абонентов группы"));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    for (QPushButton* button : {btnAllR, btnOneR, btnOneL, btnAllL})
        arrows->addWidget(button);
    arrows->addStretch(1);

    auto* lists = new QGridLayout;
    lists->addWidget(allLabel, 0, 0);
    lists->addWidget(membersLabel, 0, 2);
    lists->addWidget(lbAbonent, 1, 0);
    lists->addLayout(arrows, 1, 1);
    lists->addWidget(lbGroup, 1, 2);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(EditName, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttonBar());
    layout->addLayout(nameRow);
    layout->addLayout(lists);
}

void TfmGrReg::prepareAdd()
{
    firstFocus_ = EditName;
}

void TfmGrReg::prepareChange(int index)
{
    const TGroup& group = *groups_.Items(index);
    EditName->setText(toQString(group.Name.str()));
    fillNames(lbGroup, group.Members.Names());
    firstFocus_ = lbAbonent;
}

void TfmGrReg::FormActivate()
{
    fillNames(lbAbonent, abonents_.Names());
    if (adding()) {
        setArrows(!abonents_.empty(), !abonents_.empty());
        EditName->clear();
        lbGroup->clear();
    } else {
        setArrows(true, true);
    }
    if (firstFocus_ != nullptr)
        firstFocus_->setFocus();
}

void TfmGrReg::setArrows(bool right, bool left)
{
    btnAllR->setEnabled(right);
    btnOneR->setEnabled(right);
    btnOneL->setEnabled(left);
    btnAllL->setEnabled(left);
}

// Letter case does not make another member: "Иванов" and "иванов" are the same subscriber here.
bool TfmGrReg::isMember(const QString& name) const
{
    for (int row = 0; row < lbGroup->count(); ++row)
        if (lbGroup->item(row)->text().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void TfmGrReg::addMember(const QString& name)
{
    if (!isMember(name))
        lbGroup->addItem(name);
}

void TfmGrReg::btnAllRClick()
{
    for (int row = 0; row < lbAbonent->count(); ++row)
        addMember(lbAbonent->item(row)->text());
}

void TfmGrReg::btnOneRClick()
{
    const int row = selectedRow(lbAbonent);
    if (row >= 0)
        addMember(lbAbonent->item(row)->text());
}

void TfmGrReg::btnOneLClick()
{
    const int row = selectedRow(lbGroup);
    if (row >= 0 && lbGroup->hasFocus())
        delete lbGroup->takeItem(row);
    else
        Prompts::message(tr("Удаляемый объект не выбран."));
    lbGroup->setFocus();
}

void TfmGrReg::btnAllLClick()
{
    lbGroup->clear();
    lbAbonent->setFocus();
}

// The arrows' keys on the lists: Right (or Insert) adds the highlighted subscriber, Ctrl+Right all;
// Left (or Delete) takes the highlighted member out, Ctrl+Left all. A list shows one column, so these
// keys move nothing in it otherwise. An arrow that is off is off for its key too. (The dialog's filter
// sees every key of its controls while it is shown.)
bool TfmGrReg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || (watched != lbAbonent && watched != lbGroup))
        return TPropertiesDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = (key->modifiers() & Qt::ControlModifier) != 0;
    QPushButton* arrow = nullptr;
    if (watched == lbAbonent && (key->key() == Qt::Key_Right || key->key() == Qt::Key_Insert))
        arrow = ctrl ? btnAllR : btnOneR;
    else if (watched == lbGroup && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Delete))
        arrow = ctrl ? btnAllL : btnOneL;
    if (arrow == nullptr)
        return TPropertiesDialog::eventFilter(watched, event);
    if (arrow->isEnabled())
        arrow->click();
    return true;
}

void TfmGrReg::lbAbonentEnter()
{
    if (lbAbonent->count() > 0)
        setArrows(true, false);
}

void TfmGrReg::lbGroupEnter()
{
    if (lbGroup->count() > 0)
        setArrows(false, true);
}

// The members are the subscribers' own records, found by exact name; a name that no subscriber has any
// more is dropped.
TAbonentList TfmGrReg::memberList() const
{
    TAbonentList members;
    for (int row = 0; row < lbGroup->count(); ++row) {
        const int found = abonents_.IndexOfName(toCp1251(lbGroup->item(row)->text()));
        if (found >= 0)
            members.Add(abonents_.Items(found));
    }
    return members;
}

void TfmGrReg::btnOkClick()
{
    if (adding())
        addGroup();
    else
        changeGroup();
}

void TfmGrReg::addGroup()
{
    if (EditName->text().isEmpty()) {
        Prompts::message(tr("Неверное значение имени."));
        return;
    }
    if (const QString refusal = newNameRefusal(); !refusal.isEmpty()) {
        Prompts::message(refusal);
        return;
    }
    if (lbGroup->count() == 0) {
        Prompts::message(tr("В группе должен присутствовать хотя бы один абонент."));
        return;
    }
    auto group = std::make_shared<TGroup>();
    group->Name = toCp1251(EditName->text());
    group->Members = memberList();
    groups_.Add(std::move(group));
    emit listChanged();

    EditName->clear();
    lbGroup->clear();
    EditName->setFocus();

    (void)saved(groups_.Save(folder_));
}

void TfmGrReg::changeGroup()
{
    TGroup& group = *groups_.Items(EditIndex());
    group.Name = toCp1251(EditName->text());
    if (lbGroup->count() == 0) {
        Prompts::message(tr("В группе должен присутствовать хотя бы один абонент."));
        return;
    }
    group.Members = memberList();
    accept();

    (void)saved(groups_.Save(folder_));
}

} // namespace zolbin
