// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/QueueWindow.h"

#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ui/AccessibleNames.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/UiText.h"
#include "records/ui/QueueModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace zolbin {

namespace {

// Sets a flag while inside and gives it back its value on the way out, also when an error passes through.
class BusyScope
{
public:
    explicit BusyScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = before_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

constexpr int RowsShown = 12;

} // namespace

TfmQueue::TfmQueue(QWidget* parent) : TDialog(parent)
{
    setModal(false);
    setWindowTitle(uiText("Очередь сообщений"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    model_ = new QueueModel(this);
    gridQueue = new QTableView;
    gridQueue->setObjectName(QStringLiteral("gridQueue"));
    gridQueue->setAccessibleName(uiText("Сообщения в очереди"));
    gridQueue->setModel(model_);
    gridQueue->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridQueue->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gridQueue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridQueue->setTabKeyNavigation(false);
    gridQueue->setWordWrap(false);
    gridQueue->setAlternatingRowColors(true);
    gridQueue->verticalHeader()->hide();
    // Rows of one height: the view never measures the rows it has not shown.
    gridQueue->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridQueue->verticalHeader()->setDefaultSectionSize(gridQueue->fontMetrics().height() + 8);
    gridQueue->horizontalHeader()->setHighlightSections(false);
    gridQueue->horizontalHeader()->setStretchLastSection(true);

    btnSendNow = new QPushButton(uiText("Отправить &сейчас"));
    btnSendNow->setObjectName(QStringLiteral("btnSendNow"));
    btnCancelPage = new QPushButton(uiText("&Отменить"));
    btnCancelPage->setObjectName(QStringLiteral("btnCancelPage"));
    btnResend = new QPushButton(uiText("Отправить &повторно"));
    btnResend->setObjectName(QStringLiteral("btnResend"));
    btnClose = new QPushButton(uiText("&Закрыть"));
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* command : {btnSendNow, btnCancelPage, btnResend}) {
        markCommand(command);
        buttons->addWidget(command);
    }
    buttons->addStretch(1);
    markCancel(btnClose);
    buttons->addWidget(btnClose);
    for (QPushButton* button : {btnSendNow, btnCancelPage, btnResend, btnClose})
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridQueue, 1);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(RefreshMs);
    connect(timer_, &QTimer::timeout, this, guarded([this] { refresh(); }));
    connect(btnSendNow, &QPushButton::clicked, this, guarded([this] { btnSendNowClick(); }));
    connect(btnCancelPage, &QPushButton::clicked, this, guarded([this] { btnCancelPageClick(); }));
    connect(btnResend, &QPushButton::clicked, this, guarded([this] { btnResendClick(); }));
    connect(btnClose, &QPushButton::clicked, this, guarded([this] { btnCloseClick(); }));
    connect(gridQueue->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateCommands(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { wasReset_ = true; });
    // Told once the view has done with its scrolling, not in the middle of it.
    connect(model_, &QueueModel::fetchFailed, this, [this](const Failure& failure) {
        QMetaObject::invokeMethod(
            this, [this, failure] { runCommand([&] { tell(failure); }); }, Qt::QueuedConnection);
    });

    sizeToColumns();
    NameControlsForScreenReaders(this);
    updateCommands();
}

// Each column as wide as its title or a typical value; about a dozen rows. The window takes the size its
// layout asks for that, and the operator may resize it.
void TfmQueue::sizeToColumns()
{
    const char* const samples[QueueModel::ColumnCount] = {
        "Константинопольский К.",        "Мобильная связь", "Ожидает повтора", "Попытки", "00.00.0000 00:00",
        "421 Сервер временно недоступен"};
    QHeaderView* header = gridQueue->horizontalHeader();
    int width = 0;
    for (int column = 0; column < QueueModel::ColumnCount; ++column) {
        const int text = gridQueue->fontMetrics().horizontalAdvance(uiText(samples[column])) + 16;
        header->resizeSection(column, std::max(text, header->sectionSizeHint(column)));
        width += header->sectionSize(column);
    }
    const int frame = 2 * gridQueue->frameWidth();
    const QSize table(width + frame + gridQueue->verticalScrollBar()->sizeHint().width(),
                      header->sizeHint().height() +
                          RowsShown * gridQueue->verticalHeader()->defaultSectionSize() + frame);
    const QSize least = gridQueue->minimumSize();
    gridQueue->setMinimumSize(table);
    layout()->activate();
    resize(sizeHint());
    gridQueue->setMinimumSize(least);
}

void TfmQueue::setOutbox(Outbox* outbox)
{
    outbox_ = outbox;
    model_->setOutbox(outbox);
    if (isVisible())
        reloadRows();
    updateCommands();
}

void TfmQueue::showNotSent()
{
    if (isVisible())
        reloadRows();
    else
        show(); // reads the rows
    raise();
    activateWindow();
    QItemSelection rows;
    int first = -1;
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (model_->state(row) != PageState::Failed && model_->state(row) != PageState::Unknown)
            continue;
        rows.select(model_->index(row, 0), model_->index(row, QueueModel::ColumnCount - 1));
        if (first < 0)
            first = row;
    }
    gridQueue->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) {
        gridQueue->selectionModel()->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
        gridQueue->scrollTo(model_->index(first, 0));
    }
    updateCommands();
}

void TfmQueue::refresh()
{
    if (isVisible() && !busy_)
        reloadRows();
}

void TfmQueue::reloadRows()
{
    std::set<std::string> chosen;
    for (const QModelIndex& row : gridQueue->selectionModel()->selectedRows())
        chosen.insert(model_->pageId(row.row()));
    const QModelIndex current = gridQueue->currentIndex();
    const std::string currentId = current.isValid() ? model_->pageId(current.row()) : std::string();
    const int top = gridQueue->rowAt(0);
    // At the top the window stays at the top, where new pages come in.
    const std::string topId = top > 0 ? model_->pageId(top) : std::string();

    wasReset_ = false;
    const Status read = model_->reload();
    if (!read) {
        tell(read.failure());
    } else {
        told_ = false;
    }
    if (wasReset_)
        select(chosen, currentId, topId);
    updateCommands();
}

void TfmQueue::select(const std::set<std::string>& ids, const std::string& current, const std::string& top)
{
    QItemSelection rows;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const std::string& id = model_->pageId(row);
        if (id == current)
            gridQueue->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                                         QItemSelectionModel::NoUpdate);
        if (id == top)
            gridQueue->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
        if (ids.count(id) != 0)
            rows.select(model_->index(row, 0), model_->index(row, QueueModel::ColumnCount - 1));
    }
    gridQueue->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

std::vector<std::string> TfmQueue::chosenPages(std::initializer_list<PageState> states) const
{
    std::vector<std::string> ids;
    for (const QModelIndex& row : gridQueue->selectionModel()->selectedRows())
        if (std::find(states.begin(), states.end(), model_->state(row.row())) != states.end())
            ids.push_back(model_->pageId(row.row()));
    return ids;
}

void TfmQueue::updateCommands()
{
    const bool waiting = !chosenPages({PageState::Queued, PageState::Waiting}).empty();
    btnSendNow->setEnabled(waiting);
    btnCancelPage->setEnabled(waiting);
    btnResend->setEnabled(!chosenPages({PageState::Unknown}).empty());
}

void TfmQueue::change(const std::vector<std::string>& ids,
                      Result<bool> (Outbox::*operation)(const std::string&, std::int64_t))
{
    if (outbox_ == nullptr || ids.empty())
        return;
    const std::int64_t now = Clock::current().now().toMSecsSinceEpoch();
    bool changed = false;
    // A page that left its state meanwhile (taken for an attempt, finished) is left as it is.
    for (const std::string& id : ids) {
        const Result<bool> done = (outbox_->*operation)(id, now);
        if (!succeeded(done))
            break;
        changed = changed || done.value();
    }
    reloadRows();
    if (changed)
        emit pagesChanged();
}

void TfmQueue::btnSendNowClick()
{
    const BusyScope busy(busy_);
    change(chosenPages({PageState::Queued, PageState::Waiting}), &Outbox::Retry);
}

void TfmQueue::btnCancelPageClick()
{
    const BusyScope busy(busy_);
    change(chosenPages({PageState::Queued, PageState::Waiting}), &Outbox::Cancel);
}

// The page may have reached the pager before the attempt was cut off: the operator decides.
void TfmQueue::btnResendClick()
{
    const BusyScope busy(busy_);
    const std::vector<std::string> ids = chosenPages({PageState::Unknown});
    if (ids.empty())
        return;
    const char* question = ids.size() == 1 ? "Сообщение могло быть доставлено. Отправить его ещё раз?"
                                           : "Сообщения могли быть доставлены. Отправить их ещё раз?";
    if (Prompts::ask(cp("Подтверждение"), cp(question), PromptIcon::Question))
        change(ids, &Outbox::Retry);
}

void TfmQueue::btnCloseClick()
{
    reject();
}

void TfmQueue::tell(const Failure& failure)
{
    if (told_)
        return;
    told_ = true;
    const BusyScope busy(busy_);
    showFailure(failure);
}

bool TfmQueue::escapePressed()
{
    btnCloseClick();
    return true;
}

void TfmQueue::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event);
    told_ = false;
    runCommand([this] { reloadRows(); });
    timer_->start();
}

// Nobody looks at the rows: they are not kept, and the outbox is not read.
void TfmQueue::hideEvent(QHideEvent* event)
{
    timer_->stop();
    model_->clear();
    TDialog::hideEvent(event);
}

} // namespace zolbin
