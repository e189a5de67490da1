// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/ui/Registr.h"

#include "directory/Cascades.h"
#include "directory/Lists.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/RegControls.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "records/Archive.h"
#include "records/Session.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace zolbin {

namespace {

constexpr int ClientWidth = 238;
constexpr int ClientHeight = 215;
constexpr int RowHeight = 16;
constexpr int RowPointSize = 8;

// Every row of the list is RowHeight high. Told once by the list's delegate, not stored in each row: the
// list asks one row for its size, since all are the same.
class FixedRowHeight final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {0, RowHeight}; }
};

// A menu item whose key is taken by the window itself (Enter, Esc): the key is only shown.
QString withKeyShown(const QString& caption, const char* key)
{
    return caption + QLatin1Char('\t') + QString::fromLatin1(key);
}

} // namespace

TfmRegistr::TfmRegistr(Session& session, QWidget* parent)
    : TDialog(parent), abonents_(session.abonents), groups_(session.groups), providers_(session.providers),
      settings_(session.settings), settingsFile_(session.settingsFile), folder_(session.folder)
{
    setWindowTitle(tr("Регистрация"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildUi();

    connect(NewUserItem, &QAction::triggered, this, guarded([this] { NewUserItemClick(); }));
    connect(DelUserItem, &QAction::triggered, this, guarded([this] { DelUserItemClick(); }));
    connect(PropUserItem, &QAction::triggered, this, guarded([this] { PropUserItemClick(); }));
    connect(ExitItem, &QAction::triggered, this, guarded([this] { ExitItemClick(); }));
    connect(ListBox, &QListWidget::itemDoubleClicked, this, guarded([this] { PropUserItemClick(); }));

    fixSize();
}

void TfmRegistr::buildUi()
{
    MainMenu = new QMenuBar(this);
    UserItem = MainMenu->addMenu(tr("&Абонент"));
    NewUserItem = UserItem->addAction(tr("Добавить ..."));
    NewUserItem->setShortcut(QKeySequence(Qt::Key_Insert));
    UserItem->addSeparator();
    DelUserItem = UserItem->addAction(tr("Удалить"));
    DelUserItem->setShortcut(QKeySequence(Qt::Key_Delete));
    PropUserItem = UserItem->addAction(withKeyShown(tr("Свойства..."), "Enter"));
    UserItem->addSeparator();
    ExitItem = UserItem->addAction(withKeyShown(tr("Выход"), "Esc"));
    // The keys work wherever the focus is in the window, the menu closed.
    addAction(NewUserItem);
    addAction(DelUserItem);

    ListBox = new QListWidget;
    ListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox->setUniformItemSizes(true);
    ListBox->setItemDelegate(new FixedRowHeight(ListBox));
    QFont small = ListBox->font();
    small.setPointSize(RowPointSize);
    ListBox->setFont(small);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu);
    layout->addWidget(ListBox);
    ListBox->setFixedSize(ClientWidth, ClientHeight - MainMenu->sizeHint().height());
    lblStatus = new QLabel;
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setContentsMargins(4, 2, 4, 2);
    lblStatus->setFixedWidth(ClientWidth);
    lblStatus->setWordWrap(true);
    lblStatus->setMinimumHeight(2 * lblStatus->fontMetrics().lineSpacing() + 4);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblStatus);
}

void TfmRegistr::setDialogs(TfmAbReg* abReg, TfmGrReg* grReg, TfmPrvReg* prvReg)
{
    abReg_ = abReg;
    grReg_ = grReg;
    prvReg_ = prvReg;
    // An entry added in a dialog appears at once in the list behind it.
    for (TPropertiesDialog* dialog : std::initializer_list<TPropertiesDialog*>{abReg_, grReg_, prvReg_}) {
        if (dialog == nullptr)
            continue;
        connect(dialog, &TPropertiesDialog::listChanged, this, [this] {
            fillList();
            announceAdded();
        });
        connect(dialog, &TPropertiesDialog::listFileChanged, this, [this] { reloaded(); });
    }
}

void TfmRegistr::reloaded()
{
    emit listFileChanged();
    fillList();
}

void TfmRegistr::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event); // runs FormActivate
    lblStatus->setText(roomStatus_);
}

// An entry is added at the end of its list: its name, said under the list and chosen in it.
void TfmRegistr::announceAdded()
{
    QString said;
    std::string name;
    if (kind_ == KindAbonent && abonents_.Count() > 0) {
        said = tr("Добавлен абонент «%1»");
        name = abonents_.Items(abonents_.Count() - 1)->Name.str();
    } else if (kind_ == KindGroup && groups_.Count() > 0) {
        said = tr("Добавлена группа «%1»");
        name = groups_.Items(groups_.Count() - 1)->Name.str();
    } else if (kind_ == KindProvider && providers_.Count() > 0) {
        said = tr("Добавлена пейдж. компания «%1»");
        name = providers_.Items(providers_.Count() - 1)->Name.str();
    }
    if (said.isEmpty())
        return;
    lblStatus->setText(said.arg(toQString(name)));
    ListBox->setCurrentRow(ListBox->count() - 1);
}

void TfmRegistr::FormActivate()
{
    if (kind_ == KindAbonent)
        UserItem->setTitle(tr("&Абонент"));
    else if (kind_ == KindGroup)
        UserItem->setTitle(tr("&Группа"));
    else if (kind_ == KindProvider)
        UserItem->setTitle(tr("&Пейдж. компания"));
    fillList();
}

// The names of the list being edited, in list order, none selected: a row's position is the record's.
void TfmRegistr::fillList()
{
    std::vector<std::string> names;
    if (kind_ == KindAbonent)
        names = abonents_.Names();
    else if (kind_ == KindGroup)
        names = groups_.Names();
    else if (kind_ == KindProvider)
        names = providers_.Names();
    fillNames(ListBox, names);
}

void TfmRegistr::showRoomChange(const QString& status)
{
    const QListWidgetItem* current = ListBox->currentItem();
    const QString name = current != nullptr ? current->text() : QString();
    fillList();
    if (!name.isEmpty()) {
        const QList<QListWidgetItem*> found = ListBox->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            ListBox->setCurrentItem(found.front());
    }
    showRoomStatus(status);
}

void TfmRegistr::showRoomStatus(const QString& status)
{
    roomStatus_ = status;
    lblStatus->setText(status);
}

void TfmRegistr::NewUserItemClick()
{
    if (kind_ == KindAbonent && abReg_ != nullptr) {
        abReg_->SetAddMode();
        abReg_->showModal();
    } else if (kind_ == KindGroup && grReg_ != nullptr) {
        grReg_->SetAddMode();
        grReg_->showModal();
    } else if (kind_ == KindProvider && prvReg_ != nullptr) {
        prvReg_->SetAddMode();
        prvReg_->showModal();
    }
    FormActivate();
}

void TfmRegistr::PropUserItemClick()
{
    const int row = selectedRow(ListBox);
    if (row < 0)
        return;
    if (kind_ == KindAbonent && abReg_ != nullptr) {
        abReg_->SetChangeMode(row);
        abReg_->showModal();
    } else if (kind_ == KindGroup && grReg_ != nullptr) {
        grReg_->SetChangeMode(row);
        grReg_->showModal();
    } else if (kind_ == KindProvider && prvReg_ != nullptr) {
        prvReg_->SetChangeMode(row);
        prvReg_->showModal();
    }
    FormActivate();
}

void TfmRegistr::DelUserItemClick()
{
    const int row = selectedRow(ListBox);
    if (row < 0) {
        Prompts::message(tr("Удаляемый объект не выбран."));
        return;
    }
    const AfterRemoval refill = [this] { fillList(); };
    Status removed;
    if (kind_ == KindAbonent) {
        if (const Result<std::string> name = RemoveAbonent(folder_, abonents_, groups_, row, refill); name)
            DeleteArchive(folder_, name.value());
        else
            removed = name.failure();
    } else if (kind_ == KindGroup) {
        removed = RemoveGroup(folder_, groups_, row, refill);
    } else if (kind_ == KindProvider) {
        const Confirm ask = [](const Text& caption, const Text& text) {
            return Prompts::ask(caption.shown(), text.shown(), PromptIcon::Question);
        };
        const Result<ProviderRemoval> outcome =
            RemoveProvider(folder_, providers_, abonents_, row, settings_, settingsFile_, ask, refill);
        if (!outcome)
            removed = outcome.failure();
        else if (outcome.value() == ProviderRemoval::Refused)
            Prompts::message(HomeProviderRefusal().shown());
    }
    // The refusal is shown once the directory is reloaded.
    if (!removed && IsListFileChanged(removed.failure()))
        reloaded();
    (void)succeeded(removed);
}

void TfmRegistr::ExitItemClick()
{
    reject();
}

bool TfmRegistr::escapePressed()
{
    runCommand([this] { ExitItemClick(); });
    return true;
}

bool TfmRegistr::enterPressed()
{
    runCommand([this] { PropUserItemClick(); });
    return true;
}

} // namespace zolbin
