// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox's pages read and counted: one page, the recent ones, the unfinished and waiting ones; and
// the recent pages as a window lists them: those of one filter, counted, or a slice of them in
// the order of one column. The SQL is built from fixed pieces only; every value is bound. The order is
// one of the table's own columns, then the id the other way round, so that pages equal in the column stay
// in one order whichever way the operator reads them, and the default order (the newest first) runs along
// the index outbox_recent. LIMIT with OFFSET is read alike by SQLite and PostgreSQL.
#include "records/SqlOutbox.h"

#include <QStringList>

namespace zolbin {

namespace {

// The states a worker may take a page in.
constexpr PageState ToTry[] = {PageState::Queued, PageState::Waiting};

QStringList orderColumns(RecentOrder order)
{
    switch (order) {
    case RecentOrder::Created:
        break;
    case RecentOrder::Recipient:
        return {QStringLiteral("name"), QStringLiteral("number")};
    case RecentOrder::Text:
        return {QStringLiteral("whole_text")};
    case RecentOrder::Company:
        return {QStringLiteral("company")};
    case RecentOrder::State:
        return {QStringLiteral("state")};
    case RecentOrder::Attempts:
        return {QStringLiteral("attempts")};
    case RecentOrder::NextAttempt:
        return {QStringLiteral("next_ms")};
    case RecentOrder::Desk:
        return {QStringLiteral("desk")};
    case RecentOrder::Worker:
        return {QStringLiteral("worker")};
    case RecentOrder::LastReply:
        return {QStringLiteral("last_reply")};
    }
    return {QStringLiteral("created_ms")};
}

QString orderBy(const RecentView& view)
{
    const QString way = view.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    QStringList keys;
    for (const QString& column : orderColumns(view.order))
        keys << column + way;
    keys << (view.descending ? QStringLiteral("id ASC") : QStringLiteral("id DESC"));
    return keys.join(QStringLiteral(", "));
}

} // namespace

// The filter's condition; the values it binds are appended to `values`.
QString SqlOutbox::recentCondition(RecentFilter filter, std::int64_t sinceMs, QVariantList& values)
{
    switch (filter) {
    case RecentFilter::Pending:
        return stateIn(Unended, values);
    case RecentFilter::NotSent: {
        const QString notGone = stateIn(NotGone, values);
        values << qint64{sinceMs};
        return notGone + QStringLiteral(" AND finished_ms >= ?");
    }
    case RecentFilter::All:
        break;
    }
    const QString unended = stateIn(Unended, values);
    values << qint64{sinceMs};
    return QStringLiteral("(%1 OR finished_ms >= ?)").arg(unended);
}

Result<std::vector<OutboxPage>> SqlOutbox::Recent(std::int64_t sinceMs)
{
    QVariantList values;
    const QString unended = stateIn(Unended, values);
    values << qint64{sinceMs};
    return pages(QStringLiteral("%1 OR finished_ms >= ? ORDER BY created_ms DESC, id").arg(unended), values);
}

Result<std::optional<OutboxPage>> SqlOutbox::Page(const std::string& id)
{
    Result<std::vector<OutboxPage>> found = pages(QStringLiteral("id = ?"), {QString::fromStdString(id)});
    if (!found)
        return found.failure();
    if (found.value().empty())
        return std::optional<OutboxPage>{};
    return std::optional<OutboxPage>{std::move(found.value().front())};
}

Result<int> SqlOutbox::Unfinished()
{
    QVariantList values;
    const QString unended = stateIn(Unended, values);
    return count(unended, values);
}

Result<int> SqlOutbox::Waiting()
{
    QVariantList values;
    const QString toTry = stateIn(ToTry, values);
    return count(toTry, values);
}

Result<int> SqlOutbox::NotSent(std::int64_t sinceMs)
{
    QVariantList values;
    const QString notGone = stateIn(NotGone, values);
    values << qint64{sinceMs};
    return count(notGone + QStringLiteral(" AND finished_ms >= ?"), values);
}

Result<int> SqlOutbox::CountRecent(std::int64_t sinceMs, RecentFilter filter)
{
    QVariantList values;
    const QString condition = recentCondition(filter, sinceMs, values);
    return count(condition, values);
}

Result<std::vector<OutboxPage>> SqlOutbox::RecentSlice(std::int64_t sinceMs, const RecentView& view,
                                                       int offset, int limit)
{
    QVariantList values;
    const QString condition = recentCondition(view.filter, sinceMs, values);
    values << limit << offset;
    return pages(QStringLiteral("%1 ORDER BY %2 LIMIT ? OFFSET ?").arg(condition, orderBy(view)), values);
}

} // namespace zolbin
