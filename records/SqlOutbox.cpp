// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SqlOutbox.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "records/SqlOutboxSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cstdio>

namespace zolbin {

namespace {

// The states a worker may take a page in.
constexpr PageState ToTry[] = {PageState::Queued, PageState::Waiting};

QVariant value(PageState state)
{
    return static_cast<int>(state);
}

std::atomic<int> connections{0};

// SQLite's result codes for a file that is no database or a damaged one.
bool damaged(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11");
}

Failure failure(const std::string& path, const QSqlError& error)
{
    return Failure{FailureCode::Outbox, tx("Outbox", "Очередь сообщений недоступна: %1: %2")
                                            .arg(toCp1251(QString::fromStdString(path)))
                                            .arg(toCp1251(error.text()))};
}

QString text(const std::string& cp1251)
{
    return toQString(cp1251);
}

// "INSERT INTO outbox_pages (…) VALUES (?, …), (?, …)": a statement for so many pages.
QString insertSql(std::size_t rows)
{
    const QString row = QStringLiteral("(?%1)").arg(QStringLiteral(", ?").repeated(OutboxColumnCount - 1));
    QStringList values;
    for (std::size_t i = 0; i < rows; ++i)
        values << row;
    return QStringLiteral("INSERT INTO outbox_pages (%1) VALUES %2")
        .arg(OutboxColumnList(), values.join(u", "));
}

// The pages one statement adds on a database server: few round trips, a statement of a sensible size.
constexpr std::size_t RowsPerServerInsert = 100;

} // namespace

bool IsFinished(PageState state)
{
    return state != PageState::Queued && state != PageState::Sending && state != PageState::Waiting;
}

// One statement on the outbox's connection: its values bound in order, run.
class SqlOutbox::Statement
{
public:
    Statement(const SqlOutbox& outbox, QString sql) : outbox_(outbox), sql_(std::move(sql)) {}
    Statement& operator<<(const QVariant& value)
    {
        values_ << value;
        return *this;
    }
    Status run() { return outbox_.exec(query_, sql_, values_); }
    QSqlQuery& query() { return query_; }

private:
    const SqlOutbox& outbox_;
    QString sql_;
    QVariantList values_;
    QSqlQuery query_;
};

Status SqlOutbox::exec(QSqlQuery& query, const QString& sql, const QVariantList& values) const
{
    for (int attempt = 0;; ++attempt) {
        query = QSqlQuery(database());
        // Every result is read once, front to back: the driver then keeps no row it has passed, which
        // makes a read of thousands of pages several times faster.
        query.setForwardOnly(true);
        const bool prepared = query.prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (prepared && query.exec())
            return {};
        if (attempt > 0 || !server_ || inTransaction_ || !lost(QSqlDatabase::database(connection_, false)))
            return failureOf(query.lastError());
    }
}

Failure SqlOutbox::failureOf(const QSqlError& error) const
{
    return server_ ? serverFailureOf(error) : failure(shown_, error);
}

// Opens the connection and brings its tables to this program's version; what stopped it, if any.
std::optional<SchemaRefusal> SqlOutbox::prepare()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid())
        return SchemaRefusal{db.lastError()};
    db.setDatabaseName(QString::fromStdString(path_));
    // Another worker or window may hold the file a moment: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        return SchemaRefusal{db.lastError()};
    return UpdateOutboxSchema(db);
}

Failure SqlOutbox::refusal(const SchemaRefusal& refused, const std::string& shown)
{
    if (refused.newerVersion != 0)
        return Failure{FailureCode::Outbox,
                       tx("Outbox", "Очередь сообщений недоступна: %1: файл записан более новой версией "
                                    "программы (версия %2, эта программа знает версии до %3); в нём ничего "
                                    "не изменено")
                           .arg(toCp1251(QString::fromStdString(shown)))
                           .arg(refused.newerVersion)
                           .arg(SchemaVersion)};
    return failure(shown, refused.error);
}

Result<std::unique_ptr<SqlOutbox>> SqlOutbox::Open(const std::string& path, const std::string& shownName,
                                                   OutboxIdentity who)
{
    const std::string shown = shownName.empty() ? path : shownName;
    std::unique_ptr<SqlOutbox> outbox(new SqlOutbox(QStringLiteral("outbox-%1").arg(connections.fetch_add(1)),
                                                    path, shown, std::move(who)));
    const std::optional<SchemaRefusal> refused = outbox->prepare();
    if (!refused)
        return outbox;
    outbox.reset();
    if (refused->newerVersion != 0 || !damaged(refused->error))
        return refusal(*refused, shown);
    const Result<std::string> aside = copyAside(path);
    if (!aside)
        return failure(shown, refused->error);
    std::remove(path.c_str());
    return Failure{
        FailureCode::Outbox,
        tx("Outbox", "Файл очереди сообщений повреждён и сохранён как %1; очередь будет начата заново")
            .arg(toCp1251(QString::fromStdString(shown + aside.value().substr(path.size()))))};
}

SqlOutbox::~SqlOutbox()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

Status SqlOutbox::durable(bool onDisk)
{
    // SQLite's own setting: a database server commits to its disk whatever the client says.
    if (onDisk_ == onDisk || server_)
        return {};
    Statement pragma(*this, onDisk ? QStringLiteral("PRAGMA synchronous=FULL")
                                   : QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (Status done = pragma.run(); !done)
        return done;
    onDisk_ = onDisk;
    return {};
}

Status SqlOutbox::Add(std::vector<OutboxPage>& pages)
{
    if (Status synced = durable(true); !synced)
        return synced;
    for (OutboxPage& p : pages) {
        if (p.id.empty())
            p.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        p.state = PageState::Queued;
    }
    if (pages.empty())
        return {};
    // A database server is a round trip away: many pages go in one statement there. A statement is
    // prepared once for all the pages it takes (the last, shorter one has its own).
    const std::size_t perStatement = server_ ? RowsPerServerInsert : 1;
    // Once more on a new connection when the server was lost before the commit (nothing of it was kept).
    for (int attempt = 0;; ++attempt) {
        bool committing = false;
        Status done = [&]() -> Status {
            QSqlDatabase db = database();
            if (!db.transaction())
                return failureOf(db.lastError());
            inTransaction_ = true;
            QSqlQuery full(db);
            QSqlQuery last(db);
            QSqlQuery* insert = &full;
            bool inserted = full.prepare(insertSql(std::min(perStatement, pages.size())));
            for (std::size_t at = 0; inserted && at < pages.size(); at += perStatement) {
                const std::size_t rows = std::min(perStatement, pages.size() - at);
                if (rows < perStatement && at > 0) {
                    insert = &last;
                    inserted = last.prepare(insertSql(rows));
                }
                int position = 0;
                for (std::size_t row = at; inserted && row < at + rows; ++row)
                    for (const QVariant& value : OutboxRowValues(pages[row], who_.desk))
                        insert->bindValue(position++, value);
                inserted = inserted && insert->exec();
            }
            if (!inserted) {
                const QSqlError error = insert->lastError();
                inTransaction_ = false;
                db.rollback();
                return failureOf(error);
            }
            inTransaction_ = false;
            committing = true;
            if (!db.commit()) {
                const QSqlError error = db.lastError();
                db.rollback();
                return failureOf(error);
            }
            return {};
        }();
        if (done || committing || attempt > 0 || !server_ ||
            !lost(QSqlDatabase::database(connection_, false)))
            return done;
    }
}

Result<std::vector<std::string>> SqlOutbox::PagesOfKey(const std::string& key, std::int64_t sinceMs)
{
    Statement select(*this,
                     QStringLiteral("SELECT id FROM outbox_pages WHERE intake_key = ? AND created_ms >= ? "
                                    "ORDER BY id"));
    select << text(key) << qint64{sinceMs};
    if (Status done = select.run(); !done)
        return done.failure();
    std::vector<std::string> ids;
    while (select.query().next())
        ids.push_back(select.query().value(0).toString().toStdString());
    return ids;
}

QString SqlOutbox::stateIn(std::span<const PageState> states, QVariantList& values)
{
    for (PageState state : states)
        values << value(state);
    return QStringLiteral("state IN (?%1)").arg(QStringLiteral(", ?").repeated(int(states.size()) - 1));
}

Result<bool> SqlOutbox::changed(const QString& sql, const QVariantList& values)
{
    Statement update(*this, sql);
    for (const QVariant& v : values)
        update << v;
    if (Status done = update.run(); !done)
        return done.failure();
    return update.query().numRowsAffected() > 0;
}

Result<bool> SqlOutbox::Claim(const std::string& id)
{
    // On the disk before the page's first byte: a page sent is never found queued again.
    if (Status synced = durable(true); !synced)
        return synced.failure();
    // On a shared outbox the claim holds for a lease from the server's clock, renewed while it is sent.
    const QString lease = server_ ? serverNow() + QStringLiteral(" + ?") : QStringLiteral("?");
    QVariantList values{value(PageState::Sending), text(who_.worker), qint64{server_ ? who_.leaseMs : 0},
                        QString::fromStdString(id)};
    const QString toTry = stateIn(ToTry, values);
    return changed(QStringLiteral("UPDATE outbox_pages SET state = ?, attempts = attempts + 1, worker = ?, "
                                  "lease_ms = %1 WHERE id = ? AND %2")
                       .arg(lease, toTry),
                   values);
}

Status SqlOutbox::Finish(const std::string& id, PageState state, const std::string& reply, std::int64_t nowMs)
{
    if (Status synced = durable(false); !synced)
        return synced;
    // A page another worker took meanwhile (after its lease ran out and the operator sent it again) is
    // not this attempt's to end.
    QVariantList values{value(state), text(reply), qint64{nowMs}, QString::fromStdString(id)};
    if (server_)
        values << text(who_.worker);
    const Result<bool> done = changed(
        QStringLiteral("UPDATE outbox_pages SET state = ?, last_reply = ?, finished_ms = ? WHERE id = ?%1")
            .arg(server_ ? QStringLiteral(" AND worker = ?") : QString()),
        values);
    return done ? Status{} : Status{done.failure()};
}

Status SqlOutbox::Reschedule(const std::string& id, std::int64_t nextAttemptMs, const std::string& reply)
{
    if (Status synced = durable(false); !synced)
        return synced;
    QVariantList values{value(PageState::Waiting), qint64{nextAttemptMs}, text(reply),
                        QString::fromStdString(id)};
    if (server_)
        values << text(who_.worker);
    const Result<bool> done = changed(
        QStringLiteral("UPDATE outbox_pages SET state = ?, next_ms = ?, last_reply = ? WHERE id = ?%1")
            .arg(server_ ? QStringLiteral(" AND worker = ?") : QString()),
        values);
    return done ? Status{} : Status{done.failure()};
}

Result<bool> SqlOutbox::Retry(const std::string& id, std::int64_t nowMs)
{
    constexpr PageState triable[] = {PageState::Queued, PageState::Waiting, PageState::Unknown};
    QVariantList values{value(PageState::Unknown), value(PageState::Queued), qint64{nowMs},
                        QString::fromStdString(id)};
    const QString condition = stateIn(triable, values);
    return changed(
        QStringLiteral("UPDATE outbox_pages SET state = CASE WHEN state = ? THEN ? ELSE state END, "
                       "next_ms = ?, finished_ms = 0 WHERE id = ? AND %1")
            .arg(condition),
        values);
}

Result<bool> SqlOutbox::Cancel(const std::string& id, std::int64_t nowMs)
{
    // A page withdrawn must stay withdrawn.
    if (Status synced = durable(true); !synced)
        return synced.failure();
    QVariantList values{value(PageState::Cancelled), qint64{nowMs}, QString::fromStdString(id)};
    const QString toTry = stateIn(ToTry, values);
    return changed(
        QStringLiteral("UPDATE outbox_pages SET state = ?, finished_ms = ? WHERE id = ? AND %1").arg(toTry),
        values);
}

Result<std::vector<OutboxPage>> SqlOutbox::pages(const QString& where, const QVariantList& values)
{
    Statement select(*this,
                     QStringLiteral("SELECT %1 FROM outbox_pages WHERE %2").arg(OutboxColumnList(), where));
    for (const QVariant& v : values)
        select << v;
    if (Status done = select.run(); !done)
        return done.failure();
    std::vector<OutboxPage> found;
    const OutboxRow row(select.query());
    while (select.query().next())
        found.push_back(PageOfRow(row));
    return found;
}

Result<int> SqlOutbox::count(const QString& where, const QVariantList& values)
{
    Statement select(*this, QStringLiteral("SELECT COUNT(*) AS pages FROM outbox_pages WHERE %1").arg(where));
    for (const QVariant& v : values)
        select << v;
    if (Status done = select.run(); !done)
        return done.failure();
    return select.query().next() ? select.query().value(QStringLiteral("pages")).toInt() : 0;
}

Result<std::vector<OutboxPage>> SqlOutbox::Due(std::int64_t nowMs)
{
    QVariantList values;
    const QString toTry = stateIn(ToTry, values);
    values << qint64{nowMs};
    return pages(QStringLiteral("%1 AND next_ms <= ? ORDER BY created_ms, id").arg(toTry), values);
}

Status SqlOutbox::LimitWaits(std::int64_t nowMs, const std::vector<std::int64_t>& waitsMs)
{
    if (waitsMs.empty())
        return {};
    // Each page's wait by its attempts, as one expression: the waits are whole numbers of ours.
    QString wait = QStringLiteral("CASE");
    for (std::size_t i = 0; i + 1 < waitsMs.size(); ++i)
        wait += QStringLiteral(" WHEN attempts <= %1 THEN %2").arg(i + 1).arg(waitsMs[i]);
    wait += QStringLiteral(" ELSE %1 END").arg(waitsMs.back());
    // Read first: a look that finds nothing to change writes nothing, and so never waits for a writer.
    const QString beyond = QStringLiteral("state = ? AND next_ms > ? + %1").arg(wait);
    const QVariantList values{value(PageState::Waiting), qint64{nowMs}};
    const Result<int> found = count(beyond, values);
    if (!found)
        return found.failure();
    if (found.value() == 0)
        return {};
    if (Status synced = durable(false); !synced)
        return synced;
    const Result<bool> done =
        changed(QStringLiteral("UPDATE outbox_pages SET next_ms = ? + %1 WHERE %2").arg(wait, beyond),
                QVariantList{qint64{nowMs}} + values);
    return done ? Status{} : Status{done.failure()};
}

Result<std::optional<std::int64_t>> SqlOutbox::NextDue()
{
    QVariantList values;
    const QString toTry = stateIn(ToTry, values);
    Statement select(*this,
                     QStringLiteral("SELECT MIN(next_ms) AS next_ms FROM outbox_pages WHERE %1").arg(toTry));
    for (const QVariant& v : values)
        select << v;
    if (Status done = select.run(); !done)
        return done.failure();
    if (!select.query().next())
        return std::optional<std::int64_t>{};
    const QVariant next = select.query().value(QStringLiteral("next_ms"));
    if (next.isNull())
        return std::optional<std::int64_t>{};
    return std::optional<std::int64_t>{next.toLongLong()};
}

Result<std::map<PageState, int>> SqlOutbox::CountBatch(const std::string& batch)
{
    Statement select(*this,
                     QStringLiteral("SELECT state, COUNT(*) AS pages FROM outbox_pages WHERE batch = ? "
                                    "GROUP BY state"));
    select << QString::fromStdString(batch);
    if (Status done = select.run(); !done)
        return done.failure();
    std::map<PageState, int> counts;
    const QSqlRecord columns = select.query().record();
    const int state = columns.indexOf(QStringLiteral("state"));
    const int pages = columns.indexOf(QStringLiteral("pages"));
    while (select.query().next())
        counts[static_cast<PageState>(select.query().value(state).toInt())] =
            select.query().value(pages).toInt();
    return counts;
}

Result<int> SqlOutbox::MarkInterrupted(std::int64_t nowMs)
{
    Statement update(*this,
                     QStringLiteral("UPDATE outbox_pages SET state = ?, finished_ms = ?, last_reply = ? "
                                    "WHERE state = ?"));
    update << value(PageState::Unknown) << qint64{nowMs}
           << text(cp("Отправка прервана: доставлено ли сообщение, неизвестно")) << value(PageState::Sending);
    if (Status done = update.run(); !done)
        return done.failure();
    const int interrupted = update.query().numRowsAffected();
    const Result<bool> released =
        changed(QStringLiteral("UPDATE outbox_pages SET next_ms = ? WHERE state = ? AND next_ms > ? AND "
                               "intake_key IS NULL"),
                {qint64{nowMs}, value(PageState::Queued), qint64{nowMs}});
    if (!released)
        return released.failure();
    return interrupted;
}

Status SqlOutbox::Prune(std::int64_t beforeMs)
{
    // Every finished state but Unknown.
    constexpr PageState pruned[] = {PageState::Sent, PageState::Failed, PageState::Cancelled};
    QVariantList values;
    const QString condition = stateIn(pruned, values);
    values << qint64{beforeMs};
    const Result<bool> done = changed(
        QStringLiteral("DELETE FROM outbox_pages WHERE %1 AND finished_ms < ?").arg(condition), values);
    return done ? Status{} : Status{done.failure()};
}

} // namespace zolbin
