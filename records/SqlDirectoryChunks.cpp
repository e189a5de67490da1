// SPDX-License-Identifier: GPL-3.0-or-later
// The directory's tables, and a version's bytes as chunks on the room's server: each chunk stored once
// (table directory_chunks, by its hash), a version naming its chunks in order (directory_versions.chunks,
// and one row each in directory_version_chunks, which keeps a chunk while a kept version uses it). Only
// the chunks the server lacks are sent, and only those the desk's own copy lacks are fetched.
#include "records/SqlDirectory.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <set>

namespace zolbin {

namespace {

QSqlQuery prepared(const QString& connection, const QString& sql, const QVariantList& values)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (q.prepare(sql)) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.exec();
    }
    return q;
}

QString joined(const std::set<std::string>& hashes)
{
    QString all;
    for (const std::string& h : hashes)
        all += (all.isEmpty() ? QString() : QStringLiteral(" ")) + QString::fromStdString(h);
    return all;
}

// The directory's tables: made once, by whichever desk comes first, under the lock. A version's bytes are
// its chunks; versions saved whole before the chunks keep their bytes and are read as they were.
const char* const Tables[] = {
    "SET LOCAL client_min_messages = warning", // "already exists, skipping" told to nobody
    "CREATE TABLE IF NOT EXISTS directory_versions ("
    " list VARCHAR(16) NOT NULL,"
    " version INTEGER NOT NULL,"
    " bytes BYTEA NOT NULL,"
    " desk TEXT NOT NULL,"
    " saved_ms BIGINT NOT NULL DEFAULT CAST(EXTRACT(EPOCH FROM now()) * 1000 AS BIGINT),"
    " records TEXT NOT NULL DEFAULT '',"
    " PRIMARY KEY (list, version))",
    "ALTER TABLE directory_versions ALTER COLUMN bytes DROP NOT NULL",
    "ALTER TABLE directory_versions ADD COLUMN IF NOT EXISTS chunks TEXT",
    "ALTER TABLE directory_versions ADD COLUMN IF NOT EXISTS size BIGINT",
    "ALTER TABLE directory_versions ADD COLUMN IF NOT EXISTS whole TEXT",
    "CREATE TABLE IF NOT EXISTS directory_chunks (hash TEXT PRIMARY KEY, bytes BYTEA NOT NULL)",
    "CREATE TABLE IF NOT EXISTS directory_version_chunks ("
    " list VARCHAR(16) NOT NULL,"
    " version INTEGER NOT NULL,"
    " hash TEXT NOT NULL,"
    " FOREIGN KEY (list, version) REFERENCES directory_versions ON DELETE CASCADE)",
    "CREATE INDEX IF NOT EXISTS directory_version_chunks_version ON directory_version_chunks (list, version)",
    "CREATE INDEX IF NOT EXISTS directory_version_chunks_hash ON directory_version_chunks (hash)",
    "CREATE OR REPLACE FUNCTION zolbin_directory_saved() RETURNS trigger LANGUAGE plpgsql AS "
    "$$ BEGIN PERFORM pg_notify('zolbin_directory', ''); RETURN NULL; END $$",
    "CREATE OR REPLACE TRIGGER directory_saved AFTER INSERT ON directory_versions FOR EACH STATEMENT "
    "EXECUTE FUNCTION zolbin_directory_saved()",
};

} // namespace

Status SqlDirectory::prepare(const QString& connectOptions)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    db.setConnectOptions(connectOptions);
    if (!db.isValid() || !db.open())
        return failure(db.lastError().text());
    if (db.tables().contains(QStringLiteral("directory_version_chunks")))
        return {};
    if (!db.transaction())
        return failure(db.lastError().text());
    QSqlQuery q = prepared(connection_, QStringLiteral("SELECT pg_advisory_xact_lock(?)"),
                           {static_cast<qlonglong>(LockKey)});
    bool done = q.isActive();
    for (const char* sql : Tables)
        done = done && q.exec(QString::fromLatin1(sql));
    if (!done) {
        const QString error = q.lastError().text();
        db.rollback();
        return failure(error);
    }
    if (!db.commit())
        return failure(db.lastError().text());
    return {};
}

Status SqlDirectory::storeChunks(DirectoryList list, int version, const std::vector<DirectoryChunk>& chunks,
                                 const std::string& bytes, const std::set<std::string>& held)
{
    std::set<std::string> missing;
    for (const DirectoryChunk& c : chunks)
        if (held.count(c.hash) == 0)
            missing.insert(c.hash);
    if (!missing.empty()) {
        QSqlQuery q = prepared(
            connection_,
            QStringLiteral("SELECT hash FROM directory_chunks WHERE hash = ANY(string_to_array(?, ' '))"),
            {joined(missing)});
        if (!q.isActive())
            return failure(q.lastError().text());
        while (q.next())
            missing.erase(q.value(0).toString().toStdString());
    }
    for (const DirectoryChunk& c : chunks) {
        if (missing.erase(c.hash) == 0)
            continue;
        QSqlQuery in = prepared(
            connection_,
            QStringLiteral("INSERT INTO directory_chunks (hash, bytes) VALUES (?, ?) ON CONFLICT DO NOTHING"),
            {QString::fromStdString(c.hash),
             QByteArray(bytes.data() + c.at, static_cast<qsizetype>(c.size))});
        if (!in.isActive())
            return failure(in.lastError().text());
    }
    QSqlQuery uses =
        prepared(connection_,
                 QStringLiteral("INSERT INTO directory_version_chunks (list, version, hash) "
                                "SELECT ?, ?, h FROM unnest(string_to_array(?, ' ')) AS h"),
                 {QLatin1String(KeyOf(list)), version, QString::fromStdString(JoinHashes(chunks))});
    if (!uses.isActive())
        return failure(uses.lastError().text());
    return {};
}

Status SqlDirectory::pruneChunks()
{
    QSqlQuery q = prepared(connection_,
                           QStringLiteral("DELETE FROM directory_chunks c WHERE NOT EXISTS (SELECT 1 FROM "
                                          "directory_version_chunks u WHERE u.hash = c.hash)"),
                           {});
    if (!q.isActive())
        return failure(q.lastError().text());
    return {};
}

Result<std::string> SqlDirectory::rebuild(DirectoryList list, const std::string& hashes, std::size_t size)
{
    // The desk's own bytes of the list, cut once.
    const auto known = known_.find(list);
    const std::string_view have = known == known_.end() ? std::string_view() : known->second.bytes.str();
    std::vector<DirectoryChunk>& haveChunks = knownChunks_[list];
    if (haveChunks.empty() && !have.empty())
        haveChunks = ChunksOf(list, have);
    const std::vector<std::string> names = SplitHashes(hashes);
    std::set<std::string> held, lacking;
    for (const DirectoryChunk& c : haveChunks)
        held.insert(c.hash);
    for (const std::string& name : names)
        if (held.count(name) == 0)
            lacking.insert(name);
    std::map<std::string, std::string> fetched;
    if (!lacking.empty()) {
        QSqlQuery q = prepared(
            connection_,
            QStringLiteral(
                "SELECT hash, bytes FROM directory_chunks WHERE hash = ANY(string_to_array(?, ' '))"),
            {joined(lacking)});
        if (!q.isActive())
            return failure(q.lastError().text());
        while (q.next())
            fetched[q.value(0).toString().toStdString()] = q.value(1).toByteArray().toStdString();
    }
    std::vector<DirectoryChunk> cut;
    std::optional<std::string> bytes = AssembleChunks(names, have, haveChunks, fetched, size, cut);
    if (!bytes)
        return failure(QStringLiteral("%1: the chunks do not make the version's bytes")
                           .arg(QLatin1String(FileNameOf(list))));
    haveChunks = std::move(cut);
    return std::move(*bytes);
}

} // namespace zolbin
