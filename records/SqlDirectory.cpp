// SPDX-License-Identifier: GPL-3.0-or-later
// The room's directory on its PostgreSQL server. Every write takes one lock of the transaction's own
// (the same number at every desk), reads the latest versions under it and adds the next ones, so that two
// desks never both build on the same version.
#include "records/SqlDirectory.h"

#include "platform/Codepage.h"
#include "records/OutboxServer.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <set>

namespace zolbin {

namespace {

std::atomic<int> directoryConnections{0};
const char* const Channel = "zolbin_directory";
// The versions a list keeps: its latest 100, and every one of the last 30 days besides.
constexpr int KeptVersions = 100;
constexpr int KeptDays = 30;

struct Query
{
    explicit Query(const QString& connection) : query(QSqlDatabase::database(connection, false))
    {
        query.setForwardOnly(true);
    }
    bool run(const QString& sql, const QVariantList& values = {})
    {
        if (values.isEmpty())
            return query.exec(sql);
        if (!query.prepare(sql))
            return false;
        for (const QVariant& v : values)
            query.addBindValue(v);
        return query.exec();
    }
    QString error() const { return query.lastError().text(); }
    QSqlQuery query;
};

DirectoryList listOfKey(const QString& key)
{
    for (DirectoryList list : DirectoryLists)
        if (key == QLatin1String(KeyOf(list)))
            return list;
    return DirectoryList::Abonents;
}

} // namespace

DirectoryBytes RoomDirectory::bytes() const
{
    DirectoryBytes all;
    for (const auto& [list, version] : lists)
        all.of(list) = version.bytes;
    return all;
}

const DirectoryVersion& RoomDirectory::last() const
{
    static const DirectoryVersion none;
    const DirectoryVersion* found = &none;
    for (const auto& [list, version] : lists)
        if (version.version > 0 && version.savedMs >= found->savedMs)
            found = &version;
    return *found;
}

bool RoomDirectory::empty() const
{
    return std::all_of(lists.begin(), lists.end(), [](const auto& l) { return l.second.version == 0; });
}

bool RoomDirectory::sameBytes(const RoomDirectory& other) const
{
    for (DirectoryList list : DirectoryLists) {
        const auto mine = lists.find(list), theirs = other.lists.find(list);
        const ListBytes none;
        if (!((mine == lists.end() ? none : mine->second.bytes) ==
              (theirs == other.lists.end() ? none : theirs->second.bytes)))
            return false;
    }
    return true;
}

Text LastChangeText(const DirectoryVersion& version)
{
    const QString when =
        QDateTime::fromMSecsSinceEpoch(version.savedMs).toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    return tx("SqlDirectory", "Изменено: %1, %2").arg(version.desk).arg(toCp1251(when));
}

Result<std::unique_ptr<SqlDirectory>> SqlDirectory::Open(const std::string& database, std::string desk,
                                                         int connectSeconds)
{
    const Result<std::string> options = ServerConnectOptions(database, connectSeconds);
    if (!options)
        return options.failure();
    std::unique_ptr<SqlDirectory> directory(
        new SqlDirectory(QStringLiteral("directory-room-%1").arg(directoryConnections.fetch_add(1)), database,
                         std::move(desk)));
    if (const Status prepared = directory->prepare(QString::fromStdString(options.value())); !prepared)
        return prepared.failure();
    return directory;
}

SqlDirectory::~SqlDirectory()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

Failure SqlDirectory::failure(const QString& error) const
{
    return Failure{FailureCode::Directory, tx("SqlDirectory", "Справочник: общая база недоступна: %1: %2")
                                               .arg(toCp1251(QString::fromStdString(database_)))
                                               .arg(toCp1251(error))};
}

Result<RoomDirectory> SqlDirectory::latest()
{
    Query q(connection_);
    if (!q.run(QStringLiteral(
            "SELECT v.list, v.version, v.desk, v.saved_ms, v.chunks, v.size "
            "FROM directory_versions v "
            "JOIN (SELECT list, MAX(version) AS version FROM directory_versions GROUP BY list) m "
            "ON v.list = m.list AND v.version = m.version")))
        return failure(q.error());
    RoomDirectory room;
    for (DirectoryList list : DirectoryLists)
        room.lists[list] = {};
    struct Chunked
    {
        std::string hashes;
        std::size_t size = 0;
    };
    std::map<DirectoryList, Chunked> chunked;
    while (q.query.next()) {
        const DirectoryList list = listOfKey(q.query.value(0).toString());
        DirectoryVersion& v = room.lists[list];
        v.version = q.query.value(1).toInt();
        v.desk = toCp1251(q.query.value(2).toString());
        v.savedMs = q.query.value(3).toLongLong();
        if (!q.query.value(4).isNull())
            chunked[list] = {q.query.value(4).toString().toStdString(),
                             static_cast<std::size_t>(q.query.value(5).toLongLong())};
    }
    // Only the bytes of a version not known yet travel.
    for (auto& [list, v] : room.lists) {
        const auto known = known_.find(list);
        if (v.version == 0 || (known != known_.end() && known->second.sameVersion(v))) {
            if (v.version != 0)
                v.bytes = known->second.bytes;
            continue;
        }
        if (const auto c = chunked.find(list); c != chunked.end()) {
            Result<std::string> bytes = rebuild(list, c->second.hashes, c->second.size);
            if (!bytes)
                return bytes.failure();
            v.bytes = std::move(bytes.value());
            known_[list] = v;
            continue;
        }
        Query b(connection_);
        if (!b.run(QStringLiteral("SELECT bytes FROM directory_versions WHERE list = ? AND version = ?"),
                   {QLatin1String(KeyOf(list)), v.version}))
            return failure(b.error());
        if (!b.query.next())
            return failure(b.error());
        v.bytes = b.query.value(0).toByteArray().toStdString();
        known_[list] = v;
        knownChunks_.erase(list);
    }
    return room;
}

Result<RoomDirectory> SqlDirectory::Load()
{
    return latest();
}

void SqlDirectory::Know(DirectoryList list, const DirectoryVersion& version)
{
    if (version.version <= 0)
        return;
    known_[list] = version;
    knownChunks_.erase(list);
}

void SqlDirectory::remember(const Written& written)
{
    for (const Version& v : written) {
        known_[v.list] = v.version;
        knownChunks_[v.list] = v.chunks;
    }
}

Status SqlDirectory::insert(DirectoryList list, ListBytes listBytes, const std::string& records,
                            Written& written, bool latestKnown)
{
    const std::string& bytes = listBytes.str();
    // The chunks of the list's latest bytes (the server holds them) keep their names.
    const auto known = known_.find(list);
    const auto knownChunks = knownChunks_.find(list);
    const bool earlier = known != known_.end() && knownChunks != knownChunks_.end();
    std::vector<DirectoryChunk> chunks =
        earlier ? ChunksOf(list, bytes, known->second.bytes.str(), knownChunks->second)
                : ChunksOf(list, bytes);
    std::set<std::string> held;
    if (earlier && latestKnown)
        for (const DirectoryChunk& c : knownChunks->second)
            held.insert(c.hash);
    // The version's name: the hash of its chunks' names, which name its bytes.
    const std::string hashes = JoinHashes(chunks);
    Query q(connection_);
    if (!q.run(QStringLiteral(
                   "INSERT INTO directory_versions (list, version, chunks, size, whole, desk, records) "
                   "SELECT ?, COALESCE(MAX(version), 0) + 1, ?, ?, ?, ?, ? FROM directory_versions "
                   "WHERE list = ? RETURNING version, desk, saved_ms"),
               {QLatin1String(KeyOf(list)), QString::fromStdString(hashes),
                static_cast<qlonglong>(bytes.size()), QString::fromStdString(HashOf(hashes)),
                toQString(desk_), toQString(records), QLatin1String(KeyOf(list))}))
        return failure(q.error());
    if (!q.query.next())
        return failure(q.error());
    const int version = q.query.value(0).toInt();
    written.push_back({list,
                       DirectoryVersion{version, listBytes, toCp1251(q.query.value(1).toString()),
                                        q.query.value(2).toLongLong()},
                       {}});
    if (const Status stored = storeChunks(list, version, chunks, bytes, held); !stored)
        return stored;
    written.back().chunks = std::move(chunks);
    // The older versions go in the same transaction; the latest is always among those kept.
    if (!q.run(QStringLiteral("DELETE FROM directory_versions WHERE list = ? AND version <= (SELECT "
                              "MAX(version) FROM directory_versions WHERE list = ?) - ? AND saved_ms < "
                              "CAST(EXTRACT(EPOCH FROM now() - make_interval(days => ?)) * 1000 AS BIGINT)"),
               {QLatin1String(KeyOf(list)), QLatin1String(KeyOf(list)), KeptVersions, KeptDays}))
        return failure(q.error());
    return q.query.numRowsAffected() > 0 ? pruneChunks() : Status{};
}

namespace {

// A transaction under the directory's lock; rolled back unless committed.
class Locked
{
public:
    explicit Locked(const QString& connection) : db_(QSqlDatabase::database(connection, false))
    {
        Query q(connection);
        ok_ = db_.transaction() && q.run(QStringLiteral("SELECT pg_advisory_xact_lock(?)"),
                                         {static_cast<qlonglong>(SqlDirectory::LockKey)});
        if (!ok_)
            error_ = db_.lastError().text().isEmpty() ? q.error() : db_.lastError().text();
    }
    ~Locked()
    {
        if (!committed_)
            db_.rollback();
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    bool ok() const { return ok_; }
    const QString& error() const { return error_; }
    bool commit()
    {
        committed_ = db_.commit();
        if (!committed_)
            error_ = db_.lastError().text();
        return committed_;
    }

private:
    QSqlDatabase db_;
    bool ok_ = false;
    bool committed_ = false;
    QString error_;
};

// A list whose bytes are no list file is never stored.
Failure damagedList(DirectoryList list)
{
    return Failure{FailureCode::Directory,
                   tx("SqlDirectory", "Справочник: список %1 повреждён и не сохранён").arg(FileNameOf(list))};
}

} // namespace

Status SqlDirectory::Replace(const DirectoryBytes& lists)
{
    for (DirectoryList list : DirectoryLists)
        if (!ListIntact(list, lists.of(list)))
            return damagedList(list);
    Locked lock(connection_);
    if (!lock.ok())
        return failure(lock.error());
    Written written;
    for (DirectoryList list : DirectoryLists)
        if (const Status inserted = insert(list, lists.of(list), {}, written, false); !inserted)
            return inserted;
    if (!lock.commit())
        return failure(lock.error());
    remember(written);
    return {};
}

Failure SqlDirectory::conflict(DirectoryList list, int baseVersion, const std::string& name)
{
    // The first version after the desk's that touched the record, else the first after it at all.
    Query q(connection_);
    DirectoryVersion first;
    if (q.run(QStringLiteral(
                  "SELECT desk, saved_ms, records FROM directory_versions WHERE list = ? AND version > ? "
                  "ORDER BY version"),
              {QLatin1String(KeyOf(list)), baseVersion})) {
        bool found = false;
        while (!found && q.query.next()) {
            const std::string records = toCp1251(q.query.value(2).toString());
            found = ('\n' + records + '\n').find('\n' + name + '\n') != std::string::npos;
            if (found || first.desk.empty()) {
                first.desk = toCp1251(q.query.value(0).toString());
                first.savedMs = q.query.value(1).toLongLong();
            }
        }
    }
    const QString at = QDateTime::fromMSecsSinceEpoch(first.savedMs).toString(QStringLiteral("hh:mm"));
    return Failure{FailureCode::Directory,
                   tx("SqlDirectory", "Запись «%1» изменена на месте %2 в %3; ваше изменение не сохранено")
                       .arg(name)
                       .arg(first.desk)
                       .arg(toCp1251(at))};
}

Result<RoomDirectory> SqlDirectory::Apply(const std::vector<DirectoryEdit>& edits,
                                          const std::map<DirectoryList, int>& bases)
{
    {
        Locked lock(connection_);
        if (!lock.ok())
            return failure(lock.error());
        const Result<RoomDirectory> now = latest();
        if (!now)
            return now.failure();
        DirectoryBytes after = now.value().bytes();
        std::map<DirectoryList, std::string> touched;
        for (const DirectoryEdit& edit : edits) {
            if (const std::optional<std::string> refused = ApplyEdit(edit, after)) {
                const auto base = bases.find(edit.list);
                return conflict(edit.list, base == bases.end() ? 0 : base->second, *refused);
            }
            for (const std::string* name : {&edit.before, &edit.after})
                if (!name->empty())
                    touched[edit.list] += (touched[edit.list].empty() ? "" : "\n") + *name;
        }
        Written written;
        for (DirectoryList list : DirectoryLists)
            if (!(now.value().lists.at(list).bytes == after.of(list)))
                if (const Status inserted = insert(list, std::move(after.of(list)), touched[list], written);
                    !inserted)
                    return inserted.failure();
        if (!lock.commit())
            return failure(lock.error());
        remember(written);
    }
    return latest();
}

Result<RoomDirectory> SqlDirectory::SaveChanges(const RoomDirectory& seen, const RoomDirectory& mine)
{
    std::vector<DirectoryEdit> edits;
    std::map<DirectoryList, int> bases;
    for (DirectoryList list : {DirectoryList::Companies, DirectoryList::Abonents, DirectoryList::Groups}) {
        const DirectoryVersion& base = seen.lists.count(list) ? seen.lists.at(list) : DirectoryVersion{};
        bases[list] = base.version;
        for (DirectoryEdit& edit : EditsBetween(list, base.bytes, mine.lists.at(list).bytes))
            edits.push_back(std::move(edit));
    }
    if (edits.empty())
        return latest();
    return Apply(edits, bases);
}

bool SqlDirectory::WatchChanges(QObject* context, std::function<void()> changed)
{
    QSqlDriver* driver = QSqlDatabase::database(connection_, false).driver();
    const QString channel = QLatin1String(Channel);
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

bool SqlDirectory::Lost() const
{
    return ServerConnectionLost(QSqlDatabase::database(connection_, false));
}

} // namespace zolbin
