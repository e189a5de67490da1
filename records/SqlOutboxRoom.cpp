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
#include <atomic>

namespace zolbin {

namespace {

std::atomic<int> roomConnections{0};

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
    outbox.reset();
    if (refused->newerVersion != 0)
        return Failure{FailureCode::Outbox,
                       tx("SharedOutbox", "Общая очередь недоступна: %1: база записана более новой версией "
                                          "программы (версия %2, эта программа знает версии до %3); в ней "
                                          "ничего не изменено")
                           .arg(toCp1251(QString::fromStdString(database)))
                           .arg(refused->newerVersion)
                           .arg(SchemaVersion)};
    return serverFailure(database, refused->error);
}

bool SqlOutbox::WatchChanges(QObject* context, std::function<void()> changed)
{
    if (!server_)
        return false;
    QSqlDriver* driver = QSqlDatabase::database(connection_, false).driver();
    const QString channel = QStringLiteral("zolbin_outbox");
    if (driver == nullptr || !driver->subscribeToNotification(channel))
        return false;
    QObject::connect(
        driver,
        qOverload<const QString&, QSqlDriver::NotificationSource, const QVariant&>(&QSqlDriver::notification),
        context, [channel, changed = std::move(changed)](const QString& name) {
            if (name == channel)
                changed();
        });
    return true;
}

Result<std::optional<std::int64_t>> SqlOutbox::ServerClockMs()
{
    if (!server_)
        return std::optional<std::int64_t>{};
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 AS now_ms").arg(serverNow())) || !query.next())
        return serverFailure(shown_, query.lastError());
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
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return serverFailure(shown_, query.lastError());
    const QVariantList values{value(PageState::Sending), toQString(who_.worker),    qint64{who_.leaseMs},
                              value(PageState::Queued),  value(PageState::Waiting), request.limit};
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        return serverFailure(shown_, query.lastError());
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

Result<int> SqlOutbox::ExpireLeases()
{
    if (!server_)
        return 0;
    // State and lease are looked at by the statement that changes the page: a page that finished or was
    // renewed a moment ago stays as it is.
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.prepare(QStringLiteral("UPDATE outbox_pages SET state = ?, finished_ms = %1, last_reply = ? "
                                      "WHERE state = ? AND lease_ms < %1")
                           .arg(serverNow())))
        return serverFailure(shown_, query.lastError());
    query.addBindValue(value(PageState::Unknown));
    query.addBindValue(toQString(cp("Отправка прервана: доставлено ли сообщение, неизвестно")));
    query.addBindValue(value(PageState::Sending));
    if (!query.exec())
        return serverFailure(shown_, query.lastError());
    return query.numRowsAffected();
}

} // namespace zolbin
