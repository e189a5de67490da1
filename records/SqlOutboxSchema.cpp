// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox's table: its migrations, the stamp of its version, and its columns read by name. Their SQL is
// portable; only the journal mode and the lock taken when a transaction starts are SQLite's, each asked for
// only on SQLite.
#include "records/SqlOutboxSchema.h"

#include "platform/Codepage.h"
#include "records/SqlOutbox.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <span>

namespace zolbin {

namespace {

// Migration 1: the outbox as it was before its version was kept. Each statement leaves alone what is
// there, so that it also completes an outbox of that time, which is then stamped version 1.
const char* const Migration1[] = {
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

// Migration 2: what a room of desks sharing one outbox needs: the company's record as the desk saw it
// (its bytes in hexadecimal, so that every database keeps it alike) and its gate, the desk that queued
// the page, the worker that took it and until when its lease holds.
const char* const Migration2[] = {
    "ALTER TABLE outbox_pages ADD COLUMN company_record TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE outbox_pages ADD COLUMN gate INTEGER NOT NULL DEFAULT -1",
    "ALTER TABLE outbox_pages ADD COLUMN desk TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE outbox_pages ADD COLUMN worker TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE outbox_pages ADD COLUMN lease_ms BIGINT NOT NULL DEFAULT 0",
};

// On a database server, migration 2 also makes room for the ids the pages have had from the start (a
// batch's 36 characters and the recipient's place): SQLite never held a text to its declared length.
// It also tells every connection that listens (LISTEN zolbin_outbox) of each change of the pages, whoever
// made it: one notification per transaction, however many rows it changed.
const char* const ServerMigration2[] = {
    "ALTER TABLE outbox_pages ALTER COLUMN id TYPE VARCHAR(64)",
    "ALTER TABLE outbox_pages ALTER COLUMN batch TYPE VARCHAR(64)",
    "CREATE OR REPLACE FUNCTION zolbin_outbox_changed() RETURNS trigger LANGUAGE plpgsql AS "
    "$$ BEGIN PERFORM pg_notify('zolbin_outbox', ''); RETURN NULL; END $$",
    "CREATE TRIGGER outbox_changed AFTER INSERT OR UPDATE OR DELETE ON outbox_pages FOR EACH ROW "
    "EXECUTE FUNCTION zolbin_outbox_changed()",
};

// Migration 3: the key a system that hands pages in gives its request, kept with each of its pages so
// that the request sent again is found instead of queued twice (NULL for every other page).
const char* const Migration3[] = {
    "ALTER TABLE outbox_pages ADD COLUMN intake_key TEXT",
    "CREATE INDEX IF NOT EXISTS outbox_intake_key ON outbox_pages (intake_key)",
};

// Migration n brings a database of version n - 1 to version n. A migration once released never changes:
// a change of the tables is a new migration at the end.
const std::span<const char* const> Migrations[] = {Migration1, Migration2, Migration3};
static_assert(sizeof(Migrations) / sizeof(Migrations[0]) == SqlOutbox::SchemaVersion);

std::optional<QSqlError> run(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(db);
    // A statement without values runs as it is: PostgreSQL prepares no statement that defines tables.
    if (values.isEmpty()) {
        if (!query.exec(sql))
            return query.lastError();
        return std::nullopt;
    }
    if (!query.prepare(sql))
        return query.lastError();
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return query.lastError();
    return std::nullopt;
}

// The version stamped in the database; none in a new database or in an outbox from before the stamp.
struct Stamp
{
    std::optional<int> version;
    std::optional<QSqlError> error;
};

Stamp readStamp(QSqlDatabase& db)
{
    if (!db.tables().contains(QStringLiteral("schema_version")))
        return {};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT MAX(version) AS version FROM schema_version")))
        return {std::nullopt, query.lastError()};
    if (!query.next() || query.value(QStringLiteral("version")).isNull())
        return {};
    return {query.value(QStringLiteral("version")).toInt(), std::nullopt};
}

// Two programs opening a new outbox at once migrate it one after the other instead of failing: SQLite
// takes the write lock as the transaction starts, PostgreSQL a lock of the transaction's own that every
// program of ours asks for the same number.
std::optional<QSqlError> begin(QSqlDatabase& db)
{
    if (db.driverName() == QLatin1String("QSQLITE"))
        return run(db, QStringLiteral("BEGIN IMMEDIATE"));
    if (!db.transaction())
        return db.lastError();
    if (std::optional<QSqlError> error =
            run(db, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {qint64{0x5A6F6C62}})) {
        db.rollback();
        return error;
    }
    return std::nullopt;
}

// Runs the migrations the database lacks and stamps it, in one transaction.
std::optional<SchemaRefusal> migrate(QSqlDatabase& db)
{
    if (std::optional<QSqlError> error = begin(db))
        return SchemaRefusal{*error};
    const auto refuse = [&db](SchemaRefusal refusal) {
        db.rollback();
        return std::optional<SchemaRefusal>{std::move(refusal)};
    };
    // Read again under the lock: another program may have migrated it meanwhile.
    const Stamp stamp = readStamp(db);
    if (stamp.error)
        return refuse({*stamp.error});
    const int from = stamp.version.value_or(0);
    if (from > SqlOutbox::SchemaVersion)
        return refuse({{}, from});
    if (from < SqlOutbox::SchemaVersion) {
        const bool server = db.driverName() != QLatin1String("QSQLITE");
        for (int m = from; m < SqlOutbox::SchemaVersion; ++m) {
            for (const char* sql : Migrations[m])
                if (std::optional<QSqlError> error = run(db, QString::fromLatin1(sql)))
                    return refuse({*error});
            if (server && m == 1)
                for (const char* sql : ServerMigration2)
                    if (std::optional<QSqlError> error = run(db, QString::fromLatin1(sql)))
                        return refuse({*error});
        }
        for (const char* sql : {"CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)",
                                "DELETE FROM schema_version"})
            if (std::optional<QSqlError> error = run(db, QString::fromLatin1(sql)))
                return refuse({*error});
        if (std::optional<QSqlError> error =
                run(db, QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"),
                    {SqlOutbox::SchemaVersion}))
            return refuse({*error});
    }
    if (!db.commit())
        return refuse({db.lastError()});
    return std::nullopt;
}

// Each column's name, in the order of OutboxColumn.
const char* const ColumnNames[OutboxColumnCount] = {"id",           "batch",
                                                    "created_ms",   "state",
                                                    "attempts",     "next_ms",
                                                    "deadline_ms",  "finished_ms",
                                                    "last_reply",   "name",
                                                    "number",       "digital",
                                                    "max_len",      "company",
                                                    "defer_date",   "defer_time",
                                                    "repeat_count", "repeat_interval",
                                                    "send_date",    "send_time",
                                                    "message",      "signature_blocked",
                                                    "whole_text",   "company_record",
                                                    "gate",         "desk",
                                                    "worker",       "lease_ms",
                                                    "intake_key"};

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

} // namespace

QString OutboxColumnList()
{
    QStringList names;
    for (const char* name : ColumnNames)
        names << QLatin1String(name);
    return names.join(QStringLiteral(", "));
}

std::string JoinedLines(const std::vector<std::string>& lines)
{
    std::string all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all += (i == 0 ? "" : "\n") + lines[i];
    return all;
}

OutboxRow::OutboxRow(const QSqlQuery& query) : query_(query)
{
    const QSqlRecord record = query.record();
    for (int c = 0; c < OutboxColumnCount; ++c)
        at_[c] = record.indexOf(QLatin1String(ColumnNames[c]));
}

std::string OutboxRow::text(OutboxColumn c) const
{
    return toCp1251((*this)[c].toString());
}

OutboxPage PageOfRow(const OutboxRow& r)
{
    using enum OutboxColumn;
    OutboxPage p;
    p.id = r[Id].toString().toStdString();
    p.batch = r[Batch].toString().toStdString();
    p.createdMs = r[CreatedMs].toLongLong();
    p.state = static_cast<PageState>(r[State].toInt());
    p.attempts = r[Attempts].toInt();
    p.nextAttemptMs = r[NextMs].toLongLong();
    p.deadlineMs = r[DeadlineMs].toLongLong();
    p.finishedMs = r[FinishedMs].toLongLong();
    p.lastReply = r.text(LastReply);
    p.params.CurName = r.text(Name);
    p.params.CurNumber = r[Number].toInt();
    p.params.CurDigital = static_cast<std::uint8_t>(r[Digital].toInt());
    p.params.CurMaxLen = r[MaxLen].toInt();
    p.params.CurProvider = r.text(Company);
    p.params.DeferDate = r.text(DeferDate);
    p.params.DeferTime = r.text(DeferTime);
    p.params.RepeatCount = static_cast<std::uint8_t>(r[RepeatCount].toInt());
    p.params.RepeatInterval = r.text(RepeatInterval);
    p.params.SendDate = r.text(SendDate);
    p.params.SendTime = r.text(SendTime);
    p.lines = split(r.text(Message));
    p.signatureBlocked = r[SignatureBlocked].toInt() != 0;
    p.text = r.text(WholeText);
    p.companyRecord = QByteArray::fromHex(r[CompanyRecord].toString().toLatin1()).toStdString();
    p.gate = r[OutboxColumn::Gate].toInt();
    p.desk = r.text(Desk);
    p.worker = r.text(Worker);
    p.leaseMs = r[LeaseMs].toLongLong();
    if (!r[IntakeKey].isNull())
        p.intakeKey = r.text(IntakeKey);
    return p;
}

QVariantList OutboxRowValues(const OutboxPage& p, const std::string& desk)
{
    const TSendParams& s = p.params;
    return {QString::fromStdString(p.id),
            QString::fromStdString(p.batch),
            qint64{p.createdMs},
            static_cast<int>(p.state),
            p.attempts,
            qint64{p.nextAttemptMs},
            qint64{p.deadlineMs},
            qint64{p.finishedMs},
            toQString(p.lastReply),
            toQString(s.CurName),
            s.CurNumber,
            int{s.CurDigital},
            s.CurMaxLen,
            toQString(s.CurProvider),
            toQString(s.DeferDate),
            toQString(s.DeferTime),
            int{s.RepeatCount},
            toQString(s.RepeatInterval),
            toQString(s.SendDate),
            toQString(s.SendTime),
            toQString(JoinedLines(p.lines)),
            int{p.signatureBlocked ? 1 : 0},
            toQString(p.text),
            toQString(QByteArray::fromStdString(p.companyRecord).toHex().toStdString()),
            p.gate,
            toQString(p.desk.empty() ? desk : p.desk),
            toQString(p.worker),
            qint64{0},
            p.intakeKey ? QVariant(toQString(*p.intakeKey)) : QVariant(QMetaType(QMetaType::QString))};
}

std::optional<SchemaRefusal> UpdateOutboxSchema(QSqlDatabase& db)
{
    // Looked at before anything is written, the journal mode included: a newer outbox stays as it was.
    const Stamp stamp = readStamp(db);
    if (stamp.error)
        return SchemaRefusal{*stamp.error};
    if (stamp.version && *stamp.version > SqlOutbox::SchemaVersion)
        return SchemaRefusal{{}, *stamp.version};
    // Changes go to a write-ahead log, synced once per commit that must reach the disk: a page costs
    // one sync before its first byte instead of several for each change.
    if (db.driverName() == QLatin1String("QSQLITE"))
        if (std::optional<QSqlError> error = run(db, QStringLiteral("PRAGMA journal_mode=WAL")))
            return SchemaRefusal{*error};
    if (stamp.version == SqlOutbox::SchemaVersion)
        return std::nullopt;
    return migrate(db);
}

} // namespace zolbin
