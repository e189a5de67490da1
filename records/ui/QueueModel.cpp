// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/QueueModel.h"

#include "platform/Clock.h"
#include "platform/Codepage.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QStringList>
#include <QStyle>
#include <algorithm>
#include <iterator>

namespace zolbin {

namespace {

// A page waits for a moment only while it is queued or waiting for its next attempt (none: at once).
bool hasNextAttempt(PageState state)
{
    return state == PageState::Queued || state == PageState::Waiting;
}

// Each state in a colour of its own and with a picture of its own, for those who do not tell colours
// apart: the style's standard pictures, present whatever the desktop's theme.
QColor stateColour(PageState state)
{
    switch (state) {
    case PageState::Queued:
    case PageState::Moving:
    case PageState::Sending:
        return QColor(0, 64, 160);
    case PageState::Sent:
        return QColor(0, 120, 0);
    case PageState::Waiting:
        return QColor(150, 90, 0);
    case PageState::Failed:
        return QColor(190, 0, 0);
    case PageState::Unknown:
        return QColor(140, 0, 140);
    case PageState::Cancelled:
        return QColor(110, 110, 110);
    }
    return QColor();
}

QIcon stateIcon(PageState state)
{
    static const QStyle::StandardPixmap pictures[] = {
        QStyle::SP_ArrowRight,        QStyle::SP_MediaPlay,          QStyle::SP_DialogApplyButton,
        QStyle::SP_BrowserReload,     QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion,
        QStyle::SP_DialogCancelButton};
    const auto at = static_cast<std::size_t>(state);
    return at < std::size(pictures) ? QApplication::style()->standardIcon(pictures[at]) : QIcon();
}

QString dateTime(std::int64_t ms, const char* format)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QString::fromLatin1(format));
}

} // namespace

QueueModel::QueueModel(QObject* parent) : QAbstractTableModel(parent) {}

QString QueueModel::stateText(PageState state)
{
    switch (state) {
    case PageState::Queued:
    case PageState::Moving: // still waiting, now for the shared outbox
        return tr("В очереди");
    case PageState::Sending:
        return tr("Отправляется");
    case PageState::Sent:
        return tr("Отправлено");
    case PageState::Waiting:
        return tr("Ожидает повтора");
    case PageState::Failed:
        return tr("Не отправлено");
    case PageState::Unknown:
        return tr("Исход неизвестен");
    case PageState::Cancelled:
        return tr("Отменено");
    }
    return QString();
}

void QueueModel::setOutbox(Outbox* outbox)
{
    outbox_ = outbox;
    clear();
}

void QueueModel::clear()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    total_ = 0;
    endResetModel();
}

// An unregistered subscriber has no name: his number stands for it.
QueueModel::Row QueueModel::rowOf(const OutboxPage& page)
{
    Row row;
    row.id = page.id;
    row.createdMs = page.createdMs;
    row.recipient =
        page.params.CurName.empty() ? QString::number(page.params.CurNumber) : toQString(page.params.CurName);
    row.text = toQString(page.text);
    if (row.text.isEmpty()) {
        QStringList lines;
        for (const std::string& line : page.lines)
            lines << toQString(line);
        row.text = lines.join(QLatin1Char('\n'));
    }
    row.firstLine = row.text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (row.firstLine.isEmpty()) // a text that starts with an empty line
        row.firstLine = row.text.simplified();
    row.company = toQString(page.params.CurProvider);
    row.state = page.state;
    row.attempts = page.attempts;
    row.nextAttemptMs = page.nextAttemptMs;
    row.lastReply = toQString(page.lastReply).simplified(); // one line in the table
    row.desk = toQString(page.desk);
    row.worker = toQString(page.worker);
    return row;
}

Result<std::vector<QueueModel::Row>> QueueModel::read(int offset, int limit) const
{
    Result<std::vector<OutboxPage>> pages = outbox_->RecentSlice(sinceMs_, view_, offset, limit);
    if (!pages)
        return pages.failure();
    std::vector<Row> rows;
    rows.reserve(pages.value().size());
    for (const OutboxPage& page : pages.value())
        rows.push_back(rowOf(page));
    return rows;
}

Status QueueModel::reload()
{
    if (outbox_ == nullptr) {
        clear();
        return {};
    }
    sinceMs_ = Clock::current().now().addDays(-1).toMSecsSinceEpoch();
    const Result<int> count = outbox_->CountRecent(sinceMs_, view_.filter);
    if (!count)
        return count.failure();
    Result<std::vector<Row>> fresh = read(0, std::max(rowCount(), Batch));
    if (!fresh)
        return fresh.failure();
    std::vector<Row>& rows = fresh.value();
    // A page added between the count and the reading is shown all the same.
    total_ = std::max(count.value(), static_cast<int>(rows.size()));

    const bool samePages = std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end(),
                                      [](const Row& a, const Row& b) { return a.id == b.id; });
    if (!samePages) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return {};
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == rows_[i])
            continue;
        rows_[i] = std::move(rows[i]);
        const int row = static_cast<int>(i);
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
    return {};
}

bool QueueModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && rowCount() < total_;
}

void QueueModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || outbox_ == nullptr)
        return;
    Result<std::vector<Row>> more = read(rowCount(), Batch);
    if (!more) {
        total_ = rowCount(); // the view asks no more until the next reload
        emit fetchFailed(more.failure());
        return;
    }
    std::vector<Row>& rows = more.value();
    // Pages added since the last reload push the older ones down: those already shown come again at the
    // start of the slice and are left out; the next reload puts the new ones in their place.
    const auto tail =
        rows_.end() - std::min<std::ptrdiff_t>(Batch, static_cast<std::ptrdiff_t>(rows_.size()));
    auto fresh = rows.begin();
    while (fresh != rows.end() &&
           std::any_of(tail, rows_.end(), [&fresh](const Row& shown) { return shown.id == fresh->id; }))
        ++fresh;
    if (fresh == rows.end()) {
        total_ = rowCount();
        return;
    }
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.end() - fresh) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(fresh), std::make_move_iterator(rows.end()));
    endInsertRows();
    total_ = std::max(total_, rowCount());
}

int QueueModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int QueueModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QueueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Attempts)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == LastReply)
        return row.lastReply;
    if (role == Qt::ToolTipRole && index.column() == Text)
        return row.text;
    if (role == Qt::ForegroundRole && index.column() == State)
        return QBrush(stateColour(row.state));
    if (role == Qt::DecorationRole && index.column() == State)
        return stateIcon(row.state);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case Created:
        return dateTime(row.createdMs, "dd.MM.yyyy hh:mm:ss");
    case Recipient:
        return row.recipient;
    case Text:
        return row.firstLine;
    case Company:
        return row.company;
    case State:
        return stateText(row.state);
    case Attempts:
        return row.attempts;
    case NextAttempt:
        if (!hasNextAttempt(row.state) || row.nextAttemptMs == 0)
            return QString();
        return dateTime(row.nextAttemptMs, "dd.MM.yyyy hh:mm");
    case Desk:
        return row.desk;
    case Worker:
        return row.worker;
    case LastReply:
        return row.lastReply;
    }
    return QVariant();
}

RecentOrder QueueModel::orderOf(int column)
{
    switch (column) {
    case Recipient:
        return RecentOrder::Recipient;
    case Text:
        return RecentOrder::Text;
    case Company:
        return RecentOrder::Company;
    case State:
        return RecentOrder::State;
    case Attempts:
        return RecentOrder::Attempts;
    case NextAttempt:
        return RecentOrder::NextAttempt;
    case Desk:
        return RecentOrder::Desk;
    case Worker:
        return RecentOrder::Worker;
    case LastReply:
        return RecentOrder::LastReply;
    default:
        return RecentOrder::Created;
    }
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The time it was queued is read newest first at the first click, like the rows at the start.
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return section == Created ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Created:
        return tr("Поставлено");
    case Recipient:
        return tr("Получатель");
    case Text:
        return tr("Текст");
    case Company:
        return tr("Компания");
    case State:
        return tr("Состояние");
    case Attempts:
        return tr("Попытки");
    case NextAttempt:
        return tr("Следующая попытка");
    case Desk:
        return tr("Место");
    case Worker:
        return tr("Отправил");
    case LastReply:
        return tr("Последний ответ");
    }
    return QVariant();
}

} // namespace zolbin
