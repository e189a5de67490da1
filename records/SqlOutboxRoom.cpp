// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox a room of desks and workers shares on a PostgreSQL server: the same tables and statements
// as the embedded outbox, and what only several machines on one database need. A worker claims the due
// pages of its gates in one statement that skips the rows another worker is claiming at that moment, so
// that each page is taken once; the claim holds for a lease counted on the server's clock and renewed while
// the page is sent; a page whose lease ran out while "sending" becomes "outcome unknown", changed only if
// it is still "sending" with its lease run out when the statement runs. Every moment that decides a claim,
// a lease or a due retry is the server's (now()): the desks' clocks differ.
#include "platform/Codepage.h"
#include "records/OutboxServer.h"
#include "records/SqlOutbox.h"
#include "records/SqlOutboxSchema.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTimer>
#include <atomic>

namespace zolbin {

namespace {

std::atomic<int> roomConnections{0};

const QString Channel = QStringLiteral("zolbin_outbox");

QVariant value(PageState state)
{
    return static_cast<int>(state);
}

Failure serverFailure(const std::string& shown, const QSqlError& error)
{
    return Failure{FailureCode::Outbox, tx("SharedOutbox", "Общая очередь недоступна: %1: %2")
                                            .arg(toCp1251(QString::fromStdString(shown)))
                                            .arg(toCp1251(error.text()))};
}

} // namespace

Failure SqlOutbox::serverFailureOf(const QSqlError& error) const
{
    Failure failure = serverFailure(shown_, error);
    if (Away())
        failure.code = FailureCode::OutboxAway;
    return failure;
}

bool SqlOutbox::lost(const QSqlDatabase& db)
{
    return ServerConnectionLost(db);
}

bool SqlOutbox::Away() const
{
    return server_ && lost(QSqlDatabase::database(connection_, false));
}

QSqlDatabase SqlOutbox::database() const
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    // Never in the middle of a transaction: its next statement fails with it, and it is begun again.
    if (!server_ || inTransaction_ || !lost(db))
        return db;
    db.close();
    if (!db.open() || !watch_ || !watch_->context)
        return db;
    // Subscriptions end with their connection: listened to again, and whatever changed meanwhile is
    // looked at once, after the statement under way.
    if (db.driver()->subscribeToNotification(Channel))
        QTimer::singleShot(0, watch_->context, watch_->changed);
    return db;
}

QString SqlOutbox::serverNow()
{
    return QStringLiteral("CAST(EXTRACT(EPOCH FROM now()) * 1000 AS BIGINT)");
}

std::optional<SchemaRefusal> SqlOutbox::prepareShared(const QString& connectOptions)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    if (!db.isValid())
        return SchemaRefusal{db.lastError()};
    db.setConnectOptions(connectOptions);
    if (!db.open())
        return SchemaRefusal{db.lastError()};
    return UpdateOutboxSchema(db);
}

Result<std::unique_ptr<SqlOutbox>> SqlOutbox::OpenShared(const std::string& database, OutboxIdentity who)
{
    const Result<std::string> options = ServerConnectOptions(database);
    if (!options)
        return options.failure();
    std::unique_ptr<SqlOutbox> outbox(new SqlOutbox(
        QStringLiteral("outbox-room-%1").arg(roomConnections.fetch_add(1)), {}, database, std::move(who)));
    outbox->server_ = true;
    const std::optional<SchemaRefusal> refused =
        outbox->prepareShared(QString::fromStdString(options.value()));
    if (!refused)
        return outbox;
    const bool away = outbox->Away();
    outbox.reset();
    if (refused->newerVersion != 0)
        return Failure{FailureCode::Outbox,
                       tx("SharedOutbox", "Общая очередь недоступна: %1: база записана более новой версией "
                                          "программы (версия %2, эта программа знает версии до %3); в ней "
                                          "ничего не изменено")
                           .arg(toCp1251(QString::fromStdString(database)))
                           .arg(refused->newerVersion)
                           .arg(SchemaVersion)};
    Failure failure = serverFailure(database, refused->error);
    if (away)
        failure.code = FailureCode::OutboxAway;
    return failure;
}

bool SqlOutbox::WatchChanges(QObject* context, std::function<void()> changed)
{
    if (!server_)
        return false;
    watch_ = Watch{context, std::move(changed)};
    QSqlDriver* driver = database().driver();
    if (driver == nullptr)
        return false;
    QObject::connect(
        driver,
        qOverload<const QString&, QSqlDriver::NotificationSource, const QVariant&>(&QSqlDriver::notification),
        context, [this](const QString& name) {
            if (name == Channel && watch_)
                watch_->changed();
        });
    return driver->subscribeToNotification(Channel);
}

Result<std::optional<std::int64_t>> SqlOutbox::ServerClockMs()
{
    if (!server_)
        return std::optional<std::int64_t>{};
    QSqlQuery query;
    if (Status done = exec(query, QStringLiteral("SELECT %1 AS now_ms").arg(serverNow()), {}); !done)
        return done.failure();
    if (!query.next())
        return serverFailureOf(query.lastError());
    return std::optional<std::int64_t>{query.value(QStringLiteral("now_ms")).toLongLong()};
}

QString SqlOutbox::gateCondition(std::uint32_t gates)
{
    QString numbers;
    for (int g = 0; g < 32; ++g)
        if (gates & (1u << g))
            numbers += (numbers.isEmpty() ? QString() : QStringLiteral(", ")) + QString::number(g);
    if (numbers.isEmpty())
        return {};
    return QStringLiteral("(gate IN (%1) OR gate < 0)").arg(numbers);
}

Result<int> SqlOutbox::WaitingIn(std::uint32_t gates)
{
    const QString inGates = gateCondition(gates);
    if (inGates.isEmpty())
        return 0;
    QVariantList values{value(PageState::Queued), value(PageState::Waiting)};
    return count(QStringLiteral("state IN (?, ?) AND %1").arg(inGates), values);
}

Result<std::vector<OutboxPage>> SqlOutbox::ClaimDue(const ClaimRequest& request)
{
    if (!server_)
        return std::vector<OutboxPage>{};
    const QString gates = gateCondition(request.gates);
    if (gates.isEmpty())
        return std::vector<OutboxPage>{};
    const QString sql =
        QStringLiteral(
            "UPDATE outbox_pages SET state = ?, attempts = attempts + 1, worker = ?, lease_ms = %1 + ? "
            "WHERE id IN (SELECT id FROM outbox_pages WHERE state IN (?, ?) AND next_ms <= %1 "
            "AND %2 ORDER BY created_ms, id LIMIT ? FOR UPDATE SKIP LOCKED) "
            "RETURNING %3")
            .arg(serverNow(), gates, OutboxColumnList());
    const QVariantList values{value(PageState::Sending), toQString(who_.worker),    qint64{who_.leaseMs},
                              value(PageState::Queued),  value(PageState::Waiting), request.limit};
    QSqlQuery query;
    if (Status done = exec(query, sql, values); !done)
        return done.failure();
    std::vector<OutboxPage> claimed;
    const OutboxRow row(query);
    while (query.next())
        claimed.push_back(PageOfRow(row));
    return claimed;
}

Result<bool> SqlOutbox::Renew(const std::string& id)
{
    if (!server_)
        return true;
    return changed(QStringLiteral("UPDATE outbox_pages SET lease_ms = %1 + ? WHERE id = ? AND state = ? AND "
                                  "worker = ?")
                       .arg(serverNow()),
                   {qint64{who_.leaseMs}, QString::fromStdString(id), value(PageState::Sending),
                    toQString(who_.worker)});
}

Result<bool> SqlOutbox::Release(const std::string& id)
{
    // Back to where it was: waiting after a failed attempt, else queued; the attempt not counted.
    return changed(
        QStringLiteral("UPDATE outbox_pages SET state = CASE WHEN attempts > 1 THEN ? ELSE ? END, "
                       "attempts = attempts - 1, lease_ms = 0 WHERE id = ? AND state = ? AND worker = ?"),
        {value(PageState::Waiting), value(PageState::Queued), QString::fromStdString(id),
         value(PageState::Sending), toQString(who_.worker)});
}

Result<std::vector<OutboxPage>> SqlOutbox::EndedFor(const std::string& desk, std::int64_t sinceMs)
{
    if (!server_)
        return std::vector<OutboxPage>{};
    return pages(
        QStringLiteral("desk = ? AND finished_ms > ? AND state IN (?, ?, ?) ORDER BY finished_ms, id"),
        {toQString(desk), qint64{sinceMs}, value(PageState::Sent), value(PageState::Failed),
         value(PageState::Unknown)});
}

Result<int> SqlOutbox::ExpireLeases()
{
    if (!server_)
        return 0;
    // State and lease are looked at by the statement that changes the page: a page that finished or was
    // renewed a moment ago stays as it is.
    QSqlQuery query;
    if (Status done =
            exec(query,
                 QStringLiteral("UPDATE outbox_pages SET state = ?, finished_ms = %1, last_reply = ? "
                                "WHERE state = ? AND lease_ms < %1")
                     .arg(serverNow()),
                 {value(PageState::Unknown),
                  toQString(cp("Отправка прервана: доставлено ли сообщение, неизвестно")),
                  value(PageState::Sending)});
        !done)
        return done.failure();
    return query.numRowsAffected();
}

} // namespace zolbin
