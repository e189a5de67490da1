// SPDX-License-Identifier: GPL-3.0-or-later
// A page's way from a desk's own outbox, where it was kept while the shared outbox was away, into the
// shared outbox: taken out of the desk's workers' reach first, then added to the shared outbox under its
// own id unless that holds it already, then let go by the desk. A move cut off at any step is completed
// by the next one, and the page is sent once: by the desk before its move, or from the shared outbox.
#include "records/SqlOutbox.h"
#include "records/SqlOutboxSchema.h"

#include <QStringList>

namespace zolbin {

namespace {

QVariant value(PageState state)
{
    return static_cast<int>(state);
}

} // namespace

Result<int> SqlOutbox::MarkMoving()
{
    QSqlQuery query;
    if (Status done = exec(query, QStringLiteral("UPDATE outbox_pages SET state = ? WHERE state IN (?, ?)"),
                           {value(PageState::Moving), value(PageState::Queued), value(PageState::Waiting)});
        !done)
        return done.failure();
    return query.numRowsAffected();
}

Result<std::vector<OutboxPage>> SqlOutbox::MovingPages()
{
    return pages(QStringLiteral("state = ? ORDER BY created_ms, id"), {value(PageState::Moving)});
}

Status SqlOutbox::AddMoved(const OutboxPage& page)
{
    OutboxPage moved = page;
    // Due at once by the shared outbox's clock; one that was tried already waits for its next attempt.
    moved.state = page.attempts > 0 ? PageState::Waiting : PageState::Queued;
    moved.worker.clear();
    QVariantList values = OutboxRowValues(moved, who_.desk);
    const int nextMs = static_cast<int>(OutboxColumn::NextMs);
    QStringList marks;
    for (int c = 0; c < OutboxColumnCount; ++c)
        marks << (c == nextMs && server_ ? serverNow() : QStringLiteral("?"));
    if (server_)
        values.removeAt(nextMs);
    QSqlQuery query;
    return exec(query,
                QStringLiteral("INSERT INTO outbox_pages (%1) VALUES (%2) ON CONFLICT (id) DO NOTHING")
                    .arg(OutboxColumnList(), marks.join(QStringLiteral(", "))),
                values);
}

Result<bool> SqlOutbox::RemoveMoved(const std::string& id)
{
    return changed(QStringLiteral("DELETE FROM outbox_pages WHERE id = ? AND state = ?"),
                   {QString::fromStdString(id), value(PageState::Moving)});
}

} // namespace zolbin
