// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SqlOutbox.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <atomic>
#include <cstdio>
#include <initializer_list>

namespace zolbin {

namespace {

const char* const Schema[] = {
    "CREATE TABLE IF NOT EXISTS outbox_pages ("
    " id VARCHAR(40) NOT NULL PRIMARY KEY,"
    " batch VARCHAR(40) NOT NULL,"
    " created_ms BIGINT NOT NULL,"
    " state INTEGER NOT NULL,"
    " attempts INTEGER NOT NULL,"
    " next_ms BIGINT NOT NULL,"
    " deadline_ms BIGINT NOT NULL,"
    " finished_ms BIGINT NOT NULL,"
    " last_reply TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " number INTEGER NOT NULL,"
    " digital INTEGER NOT NULL,"
    " max_len INTEGER NOT NULL,"
    " company TEXT NOT NULL,"
    " defer_date VARCHAR(10) NOT NULL,"
    " defer_time VARCHAR(5) NOT NULL,"
    " repeat_count INTEGER NOT NULL,"
    " repeat_interval VARCHAR(5) NOT NULL,"
    " send_date VARCHAR(10) NOT NULL,"
    " send_time VARCHAR(5) NOT NULL,"
    " message TEXT NOT NULL,"
    " signature_blocked INTEGER NOT NULL,"
    " whole_text TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS outbox_due ON outbox_pages (state, next_ms)",
    "CREATE INDEX IF NOT EXISTS outbox_finished ON outbox_pages (finished_ms)",
    // The order of the recent pages: a screenful of them is read without sorting the whole table.
    "CREATE INDEX IF NOT EXISTS outbox_recent ON outbox_pages (created_ms DESC, id)",
};

const char* const Columns =
    "id, batch, created_ms, state, attempts, next_ms, deadline_ms, finished_ms, last_reply, "
    "name, number, digital, max_len, company, defer_date, defer_time, repeat_count, "
    "repeat_interval, send_date, send_time, message, signature_blocked, whole_text";

// The states of a page that has not reached its end.
const char* const Unended = "(0, 1, 3)";

std::atomic<int> connections{0};

// SQLite's result codes for a file that is no database or a damaged one.
bool damaged(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11");
}

Failure failure(const std::string& path, const QSqlError& error)
{
    return Failure{FailureCode::Outbox, cp("Очередь сообщений недоступна: ") +
                                            toCp1251(QString::fromStdString(path)) + ": " +
                                            toCp1251(error.text())};
}

QString text(const std::string& cp1251)
{
    return toQString(cp1251);
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all += (i == 0 ? "" : "\n") + lines[i];
    return all;
}

std::vector<std::string> split(const std::string& all)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end = all.find('\n'); end != std::string::npos; end = all.find('\n', from)) {
        lines.push_back(all.substr(from, end - from));
        from = end + 1;
    }
    lines.push_back(all.substr(from));
    return lines;
}

OutboxPage pageOf(const QSqlQuery& q)
{
    OutboxPage p;
    const auto s = [&q](int i) { return toCp1251(q.value(i).toString()); };
    p.id = q.value(0).toString().toStdString();
    p.batch = q.value(1).toString().toStdString();
    p.createdMs = q.value(2).toLongLong();
    p.state = static_cast<PageState>(q.value(3).toInt());
    p.attempts = q.value(4).toInt();
    p.nextAttemptMs = q.value(5).toLongLong();
    p.deadlineMs = q.value(6).toLongLong();
    p.finishedMs = q.value(7).toLongLong();
    p.lastReply = s(8);
    p.params.CurName = s(9);
    p.params.CurNumber = q.value(10).toInt();
    p.params.CurDigital = static_cast<std::uint8_t>(q.value(11).toInt());
    p.params.CurMaxLen = q.value(12).toInt();
    p.params.CurProvider = s(13);
    p.params.DeferDate = s(14);
    p.params.DeferTime = s(15);
    p.params.RepeatCount = static_cast<std::uint8_t>(q.value(16).toInt());
    p.params.RepeatInterval = s(17);
    p.params.SendDate = s(18);
    p.params.SendTime = s(19);
    p.lines = split(s(20));
    p.signatureBlocked = q.value(21).toInt() != 0;
    p.text = s(22);
    return p;
}

} // namespace

bool IsFinished(PageState state)
{
    return state != PageState::Queued && state != PageState::Sending && state != PageState::Waiting;
}

// One statement on the outbox's connection: prepared, its values bound in order, run.
class SqlOutbox::Statement
{
public:
    Statement(const SqlOutbox& outbox, const QString& sql)
        : outbox_(outbox), query_(QSqlDatabase::database(outbox.connection_, false))
    {
        // Every result is read once, front to back: the driver then keeps no row it has passed, which
        // makes a read of thousands of pages several times faster.
        query_.setForwardOnly(true);
        prepared_ = query_.prepare(sql);
    }
    Statement& operator<<(const QVariant& value)
    {
        query_.addBindValue(value);
        return *this;
    }
    Status run()
    {
        if (!prepared_ || !query_.exec())
            return failure(outbox_.path_, query_.lastError());
        return {};
    }
    QSqlQuery& query() { return query_; }

private:
    const SqlOutbox& outbox_;
    QSqlQuery query_;
    bool prepared_ = false;
};

// Opens the connection and makes the table when missing; the error, if any.
std::optional<QSqlError> SqlOutbox::prepare()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid())
        return db.lastError();
    db.setDatabaseName(QString::fromStdString(path_));
    // Another worker or window may hold the file a moment: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        return db.lastError();
    // Changes go to a write-ahead log, synced once per commit that must reach the disk: a page costs
    // one sync before its first byte instead of several for each change. Only this set-up is SQLite's.
    {
        QSqlQuery wal(db);
        if (!wal.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return wal.lastError();
    }
    for (const char* sql : Schema) {
        QSqlQuery query(db);
        if (!query.exec(QString::fromLatin1(sql)))
            return query.lastError();
    }
    return std::nullopt;
}

Result<std::unique_ptr<SqlOutbox>> SqlOutbox::Open(const std::string& path)
{
    std::unique_ptr<SqlOutbox> outbox(
        new SqlOutbox(QStringLiteral("outbox-%1").arg(connections.fetch_add(1)), path));
    const std::optional<QSqlError> error = outbox->prepare();
    if (!error)
        return outbox;
    outbox.reset();
    if (!damaged(*error))
        return failure(path, *error);
    const Result<std::string> aside = copyAside(path);
    if (!aside)
        return failure(path, *error);
    std::remove(path.c_str());
    return Failure{FailureCode::Outbox, cp("Файл очереди сообщений повреждён и сохранён как ") +
                                            toCp1251(QString::fromStdString(aside.value())) +
                                            cp("; очередь будет начата заново")};
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
    if (onDisk_ == onDisk ||
        QSqlDatabase::database(connection_, false).driverName() != QLatin1String("QSQLITE"))
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
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return failure(path_, db.lastError());
    const QString sql = QStringLiteral("INSERT INTO outbox_pages (%1) VALUES (?%2)")
                            .arg(QLatin1String(Columns), QStringLiteral(", ?").repeated(22));
    for (OutboxPage& p : pages) {
        if (p.id.empty())
            p.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        p.state = PageState::Queued;
        const TSendParams& s = p.params;
        Statement insert(*this, sql);
        insert << QString::fromStdString(p.id) << QString::fromStdString(p.batch) << qint64{p.createdMs}
               << static_cast<int>(p.state) << p.attempts << qint64{p.nextAttemptMs} << qint64{p.deadlineMs}
               << qint64{p.finishedMs} << text(p.lastReply) << text(s.CurName) << s.CurNumber
               << int{s.CurDigital} << s.CurMaxLen << text(s.CurProvider) << text(s.DeferDate)
               << text(s.DeferTime) << int{s.RepeatCount} << text(s.RepeatInterval) << text(s.SendDate)
               << text(s.SendTime) << text(joined(p.lines)) << int{p.signatureBlocked ? 1 : 0}
               << text(p.text);
        if (Status done = insert.run(); !done) {
            db.rollback();
            return done;
        }
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        return failure(path_, error);
    }
    return {};
}

Result<bool> SqlOutbox::changed(const QString& sql, std::initializer_list<QVariant> values)
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
    return changed(QStringLiteral("UPDATE outbox_pages SET state = 1, attempts = attempts + 1 "
                                  "WHERE id = ? AND state IN (0, 3)"),
                   {QString::fromStdString(id)});
}

Status SqlOutbox::Finish(const std::string& id, PageState state, const std::string& reply, std::int64_t nowMs)
{
    if (Status synced = durable(false); !synced)
        return synced;
    const Result<bool> done = changed(
        QStringLiteral("UPDATE outbox_pages SET state = ?, last_reply = ?, finished_ms = ? WHERE id = ?"),
        {static_cast<int>(state), text(reply), qint64{nowMs}, QString::fromStdString(id)});
    return done ? Status{} : Status{done.failure()};
}

Status SqlOutbox::Reschedule(const std::string& id, std::int64_t nextAttemptMs, const std::string& reply)
{
    if (Status synced = durable(false); !synced)
        return synced;
    const Result<bool> done =
        changed(QStringLiteral("UPDATE outbox_pages SET state = 3, next_ms = ?, last_reply = ? WHERE id = ?"),
                {qint64{nextAttemptMs}, text(reply), QString::fromStdString(id)});
    return done ? Status{} : Status{done.failure()};
}

Result<bool> SqlOutbox::Retry(const std::string& id, std::int64_t nowMs)
{
    return changed(
        QStringLiteral("UPDATE outbox_pages SET state = CASE WHEN state = 5 THEN 0 ELSE state END, "
                       "next_ms = ?, finished_ms = 0 WHERE id = ? AND state IN (0, 3, 5)"),
        {qint64{nowMs}, QString::fromStdString(id)});
}

Result<bool> SqlOutbox::Cancel(const std::string& id, std::int64_t nowMs)
{
    // A page withdrawn must stay withdrawn.
    if (Status synced = durable(true); !synced)
        return synced.failure();
    return changed(
        QStringLiteral("UPDATE outbox_pages SET state = 6, finished_ms = ? WHERE id = ? AND state IN (0, 3)"),
        {qint64{nowMs}, QString::fromStdString(id)});
}

Result<std::vector<OutboxPage>> SqlOutbox::pages(const QString& where, const QVariantList& values)
{
    Statement select(
        *this, QStringLiteral("SELECT %1 FROM outbox_pages WHERE %2").arg(QLatin1String(Columns), where));
    for (const QVariant& v : values)
        select << v;
    if (Status done = select.run(); !done)
        return done.failure();
    std::vector<OutboxPage> found;
    while (select.query().next())
        found.push_back(pageOf(select.query()));
    return found;
}

Result<int> SqlOutbox::count(const QString& where, const QVariantList& values)
{
    Statement select(*this, QStringLiteral("SELECT COUNT(*) FROM outbox_pages WHERE %1").arg(where));
    for (const QVariant& v : values)
        select << v;
    if (Status done = select.run(); !done)
        return done.failure();
    return select.query().next() ? select.query().value(0).toInt() : 0;
}

Result<std::vector<OutboxPage>> SqlOutbox::Due(std::int64_t nowMs)
{
    return pages(QStringLiteral("state IN (0, 3) AND next_ms <= ? ORDER BY created_ms, id"), {qint64{nowMs}});
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
    const QString beyond = QStringLiteral("state = 3 AND next_ms > ? + %1").arg(wait);
    Statement count(*this, QStringLiteral("SELECT COUNT(*) FROM outbox_pages WHERE %1").arg(beyond));
    count << qint64{nowMs};
    if (Status done = count.run(); !done)
        return done;
    if (!count.query().next() || count.query().value(0).toInt() == 0)
        return {};
    if (Status synced = durable(false); !synced)
        return synced;
    const Result<bool> done =
        changed(QStringLiteral("UPDATE outbox_pages SET next_ms = ? + %1 WHERE %2").arg(wait, beyond),
                {qint64{nowMs}, qint64{nowMs}});
    return done ? Status{} : Status{done.failure()};
}

Result<std::optional<std::int64_t>> SqlOutbox::NextDue()
{
    Statement select(*this, QStringLiteral("SELECT MIN(next_ms) FROM outbox_pages WHERE state IN (0, 3)"));
    if (Status done = select.run(); !done)
        return done.failure();
    if (!select.query().next() || select.query().value(0).isNull())
        return std::optional<std::int64_t>{};
    return std::optional<std::int64_t>{select.query().value(0).toLongLong()};
}

Result<std::vector<OutboxPage>> SqlOutbox::Recent(std::int64_t sinceMs)
{
    return pages(QStringLiteral("state IN %1 OR finished_ms >= ? ORDER BY created_ms DESC, id")
                     .arg(QLatin1String(Unended)),
                 {qint64{sinceMs}});
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
    Statement count(
        *this,
        QStringLiteral("SELECT COUNT(*) FROM outbox_pages WHERE state IN %1").arg(QLatin1String(Unended)));
    if (Status done = count.run(); !done)
        return done.failure();
    return count.query().next() ? count.query().value(0).toInt() : 0;
}

Result<int> SqlOutbox::Waiting()
{
    return count(QStringLiteral("state IN (0, 3)"), {});
}

Result<int> SqlOutbox::NotSent(std::int64_t sinceMs)
{
    return count(QStringLiteral("state IN (4, 5) AND finished_ms >= ?"), {qint64{sinceMs}});
}

Result<std::map<PageState, int>> SqlOutbox::CountBatch(const std::string& batch)
{
    Statement select(
        *this, QStringLiteral("SELECT state, COUNT(*) FROM outbox_pages WHERE batch = ? GROUP BY state"));
    select << QString::fromStdString(batch);
    if (Status done = select.run(); !done)
        return done.failure();
    std::map<PageState, int> counts;
    while (select.query().next())
        counts[static_cast<PageState>(select.query().value(0).toInt())] = select.query().value(1).toInt();
    return counts;
}

Result<int> SqlOutbox::MarkInterrupted(std::int64_t nowMs)
{
    Statement update(*this,
                     QStringLiteral("UPDATE outbox_pages SET state = 5, finished_ms = ?, last_reply = ? "
                                    "WHERE state = 1"));
    update << qint64{nowMs} << text(cp("Отправка прервана: доставлено ли сообщение, неизвестно"));
    if (Status done = update.run(); !done)
        return done.failure();
    const int interrupted = update.query().numRowsAffected();
    const Result<bool> released =
        changed(QStringLiteral("UPDATE outbox_pages SET next_ms = ? WHERE state = 0 AND next_ms > ?"),
                {qint64{nowMs}, qint64{nowMs}});
    if (!released)
        return released.failure();
    return interrupted;
}

Status SqlOutbox::Prune(std::int64_t beforeMs)
{
    const Result<bool> done =
        changed(QStringLiteral("DELETE FROM outbox_pages WHERE state IN (2, 4, 6) AND finished_ms < ?"),
                {qint64{beforeMs}});
    return done ? Status{} : Status{done.failure()};
}

} // namespace zolbin
