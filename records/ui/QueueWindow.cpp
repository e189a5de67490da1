// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/QueueWindow.h"

#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ui/AccessibleNames.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/UiText.h"
#include "records/ui/QueueModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
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

// The pages "Отправить повторно" applies to.
constexpr std::initializer_list<PageState> ResentStates = {PageState::Unknown, PageState::Failed,
                                                           PageState::Cancelled};

} // namespace

TfmQueue::TfmQueue(QWidget* parent) : TDialog(parent)
{
    setModal(false);
    setWindowTitle(tr("Очередь сообщений"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    cmbFilter = new QComboBox;
    cmbFilter->setObjectName(QStringLiteral("cmbFilter"));
    cmbFilter->addItems({tr("Все"), tr("Ожидают"), tr("Не отправлены")});
    auto* filterLabel = new QLabel(tr("По&казать:"));
    filterLabel->setBuddy(cmbFilter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(cmbFilter);
    filterRow->addStretch(1);

    model_ = new QueueModel(this);
    gridQueue = new QTableView;
    gridQueue->setObjectName(QStringLiteral("gridQueue"));
    gridQueue->setAccessibleName(tr("Сообщения в очереди"));
    gridQueue->setModel(model_);
    gridQueue->setColumnHidden(QueueModel::Desk, true); // shown for a shared outbox (setOutbox)
    gridQueue->setColumnHidden(QueueModel::Worker, true);
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
    // The outbox sorts the pages (the model reads them a batch at a time); newest first at the start.
    gridQueue->horizontalHeader()->setSortIndicator(QueueModel::Created, Qt::DescendingOrder);
    gridQueue->setSortingEnabled(true);

    btnSendNow = new QPushButton(tr("Отправить &сейчас"));
    btnSendNow->setObjectName(QStringLiteral("btnSendNow"));
    btnCancelPage = new QPushButton(tr("&Отменить"));
    btnCancelPage->setObjectName(QStringLiteral("btnCancelPage"));
    btnResend = new QPushButton(tr("Отправить &повторно"));
    btnResend->setObjectName(QStringLiteral("btnResend"));
    btnClose = new QPushButton(tr("&Закрыть"));
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* command : {btnSendNow, btnCancelPage, btnResend}) {
        markCommand(command);
        buttons->addWidget(command);
    }
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    for (QPushButton* button : {btnSendNow, btnCancelPage, btnResend, btnClose})
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(gridQueue, 1);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(RefreshMs);
    connect(timer_, &QTimer::timeout, this, guarded([this] { refresh(); }));
    connect(btnSendNow, &QPushButton::clicked, this, guarded([this] { btnSendNowClick(); }));
    connect(btnCancelPage, &QPushButton::clicked, this, guarded([this] { btnCancelPageClick(); }));
    connect(btnResend, &QPushButton::clicked, this, guarded([this] { btnResendClick(); }));
    useCancel(btnClose);
    connect(cmbFilter, &QComboBox::currentIndexChanged, this, guarded([this] { cmbFilterChange(); }));
    connect(gridQueue->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) { runCommand([&] { sortBy(column, order); }); });
    // The last column takes what the window's width leaves: only the others are sized by hand.
    connect(gridQueue->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        sizedByHand_ = sizedByHand_ || (!fitting_ && column != QueueModel::ColumnCount - 1);
    });
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

void TfmQueue::setOutbox(Outbox* outbox)
{
    outbox_ = outbox;
    model_->setOutbox(outbox);
    // Who queued and who sent a page matters where several desks share the outbox.
    const bool room = outbox != nullptr && outbox->Shared();
    gridQueue->setColumnHidden(QueueModel::Desk, !room);
    gridQueue->setColumnHidden(QueueModel::Worker, !room);
    if (isVisible())
        reloadRows();
    updateCommands();
}

void TfmQueue::showNotSent()
{
    cmbFilter->setCurrentIndex(2); // "Не отправлены"
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
    if (wasReset_) {
        select(chosen, currentId, topId);
        fitColumns();
    }
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

std::vector<int> TfmQueue::chosenRows(std::initializer_list<PageState> states) const
{
    std::vector<int> rows;
    for (const QModelIndex& row : gridQueue->selectionModel()->selectedRows())
        if (std::find(states.begin(), states.end(), model_->state(row.row())) != states.end())
            rows.push_back(row.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfmQueue::updateCommands()
{
    const bool waiting = !chosenRows({PageState::Queued, PageState::Waiting}).empty();
    btnSendNow->setEnabled(waiting);
    btnCancelPage->setEnabled(waiting);
    btnResend->setEnabled(!chosenRows(ResentStates).empty());
}

void TfmQueue::change(const std::vector<int>& rows, const Change& operation)
{
    if (outbox_ == nullptr || rows.empty())
        return;
    const std::int64_t now = Clock::current().now().toMSecsSinceEpoch();
    bool changed = false;
    // A page that left its state meanwhile (taken for an attempt, finished) is left as it is.
    for (const int row : rows) {
        const Result<bool> done = operation(row, now);
        if (!succeeded(done))
            break;
        changed = changed || done.value();
    }
    reloadRows();
    if (changed)
        emit pagesChanged();
}

void TfmQueue::change(const std::vector<int>& rows,
                      Result<bool> (Outbox::*operation)(const std::string&, std::int64_t))
{
    change(rows, [this, operation](int row, std::int64_t now) {
        return (outbox_->*operation)(model_->pageId(row), now);
    });
}

void TfmQueue::btnSendNowClick()
{
    const BusyScope busy(busy_);
    change(chosenRows({PageState::Queued, PageState::Waiting}), &Outbox::Retry);
}

void TfmQueue::btnCancelPageClick()
{
    const BusyScope busy(busy_);
    change(chosenRows({PageState::Queued, PageState::Waiting}), &Outbox::Cancel);
}

// The question names each page's recipient and text: the whole text of one page, the first line of each
// of several. A page whose outcome is unknown may have reached the pager already.
QString TfmQueue::resendQuestion(const std::vector<int>& rows) const
{
    constexpr std::size_t Listed = 10;
    const QString lineBreak = QStringLiteral("\r\n");
    const bool maybeDelivered = std::any_of(
        rows.begin(), rows.end(), [this](int row) { return model_->state(row) == PageState::Unknown; });
    if (rows.size() == 1) {
        const QString& recipient = model_->recipient(rows.front());
        return (maybeDelivered ? tr("Сообщение для абонента %1 могло быть доставлено:").arg(recipient)
                               : tr("Сообщение для абонента %1:").arg(recipient)) +
               lineBreak + model_->text(rows.front()) + lineBreak + tr("Отправить его ещё раз?");
    }
    QString question = maybeDelivered ? tr("Сообщения могли быть доставлены:") : tr("Сообщения:");
    for (std::size_t i = 0; i < rows.size() && i < Listed; ++i) {
        const int row = rows[i];
        question += lineBreak + model_->recipient(row) + QStringLiteral(": ") +
                    model_->text(row).section(QLatin1Char('\n'), 0, 0).trimmed();
    }
    if (rows.size() > Listed)
        question += lineBreak + tr("и ещё %1").arg(rows.size() - Listed);
    return question + lineBreak + tr("Отправить их ещё раз?");
}

// After the question: a page whose outcome is unknown is queued again as it is; a failed or withdrawn
// one goes again as a new page, and the old one stays as it ended.
void TfmQueue::btnResendClick()
{
    const BusyScope busy(busy_);
    const std::vector<int> rows = chosenRows(ResentStates);
    if (rows.empty() || !Prompts::ask(tr("Подтверждение"), resendQuestion(rows), PromptIcon::Question))
        return;
    change(rows, [this](int row, std::int64_t now) -> Result<bool> {
        const std::string& id = model_->pageId(row);
        if (model_->state(row) == PageState::Unknown)
            return outbox_->Retry(id, now);
        const Result<std::optional<std::string>> added = ResendAsNewPage(*outbox_, id, now);
        if (!added)
            return added.failure();
        return added.value().has_value();
    });
}

void TfmQueue::cmbFilterChange()
{
    static const RecentFilter filters[] = {RecentFilter::All, RecentFilter::Pending, RecentFilter::NotSent};
    RecentView view = model_->view();
    view.filter = filters[std::clamp(cmbFilter->currentIndex(), 0, 2)];
    model_->setView(view);
    refresh();
    gridQueue->scrollToTop();
}

void TfmQueue::sortBy(int column, Qt::SortOrder order)
{
    RecentView view = model_->view();
    view.order = QueueModel::orderOf(column);
    view.descending = order == Qt::DescendingOrder;
    model_->setView(view);
    refresh();
    gridQueue->scrollToTop();
}

void TfmQueue::tell(const Failure& failure)
{
    if (told_)
        return;
    told_ = true;
    const BusyScope busy(busy_);
    showFailure(failure);
}

void TfmQueue::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event);
    told_ = false;
    sizedByHand_ = false;
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
