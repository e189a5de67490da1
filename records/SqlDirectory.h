// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory a room shares, kept in the room's PostgreSQL database next to its outbox: each of the
// three lists as its list file's exact bytes, in numbered versions, each with the desk that saved it and
// the server's time. A desk saves an edit of one record (directory/DirectoryEdit): it is applied to the
// latest versions under one lock in one transaction, so that two desks' edits of different records are
// both kept and an edit of a record another desk changed first is refused with who and when. Every saved
// version is told to each listening connection (LISTEN zolbin_directory).
//
// A connection belongs to the thread that opened it.

#include "directory/DirectoryEdit.h"
#include "platform/Result.h"
#include "platform/Text.h"
#include "records/DirectoryChunks.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zolbin {

// A list's bytes, never changed once made: the copies of a version (the desk's copy, what the room's
// connection knows, what it read) share them instead of copying a large list each time.
class ListBytes
{
public:
    ListBytes() = default;
    ListBytes(std::string bytes) // NOLINT(google-explicit-constructor): a list's bytes are its bytes
        : bytes_(std::make_shared<const std::string>(std::move(bytes)))
    {
    }
    const std::string& str() const { return bytes_ ? *bytes_ : none(); }
    operator const std::string&() const { return str(); } // NOLINT(google-explicit-constructor)
    std::size_t size() const { return str().size(); }
    bool empty() const { return str().empty(); }
    friend bool operator==(const ListBytes& a, const ListBytes& b)
    {
        return a.bytes_ == b.bytes_ || a.str() == b.str();
    }
    friend bool operator==(const ListBytes& a, const std::string& b) { return a.str() == b; }

private:
    static const std::string& none()
    {
        static const std::string empty;
        return empty;
    }
    std::shared_ptr<const std::string> bytes_;
};

struct DirectoryVersion
{
    int version = 0;          // 0: the database holds no version of the list
    ListBytes bytes;          // the list file's bytes
    std::string desk;         // who saved it (cp1251)
    std::int64_t savedMs = 0; // when, by the server's clock
    // The same version of a list: its number, desk and time (bytes aside).
    bool sameVersion(const DirectoryVersion& other) const
    {
        return version == other.version && savedMs == other.savedMs && desk == other.desk;
    }
};

// The three lists' latest versions.
struct RoomDirectory
{
    std::map<DirectoryList, DirectoryVersion> lists;
    DirectoryBytes bytes() const;
    // The latest of the three versions: who changed the directory last and when.
    const DirectoryVersion& last() const;
    bool empty() const; // no list stored yet
    // Whether every list holds the same bytes in both (a list missing from one counts as empty).
    bool sameBytes(const RoomDirectory& other) const;
};

// "Изменено: МЕСТО, дд.мм.гггг чч:мм", the time the desk's own.
Text LastChangeText(const DirectoryVersion& version);

class SqlDirectory
{
public:
    // Connects to the room's database (the outbox's `Database` address) and makes the directory's tables
    // when they are missing. `desk` names this desk's versions (cp1251); `connectSeconds`, when not 0, is
    // how long the attempt may wait for the server.
    static Result<std::unique_ptr<SqlDirectory>> Open(const std::string& database, std::string desk,
                                                      int connectSeconds = 0);
    ~SqlDirectory();
    SqlDirectory(const SqlDirectory&) = delete;
    SqlDirectory& operator=(const SqlDirectory&) = delete;

    // The latest version of every list. A version's bytes never change: those of a version this object
    // read or wrote already, or was told of (Know), are not read again.
    Result<RoomDirectory> Load();
    // A version whose bytes the caller holds (the desk's copy): the version of the same number, desk and
    // time is taken from them.
    void Know(DirectoryList list, const DirectoryVersion& version);
    // Stores the three lists as their next versions, whatever the database holds (an import, the first
    // desk). A damaged list is refused before anything is written.
    Status Replace(const DirectoryBytes& lists);
    // Applies the edits, in order, to the latest versions and stores what changed, in one transaction;
    // `bases` are the versions the desk saw. An edit another desk came first with refuses them all:
    // "Запись «ИМЯ» изменена на месте МЕСТО в чч:мм; ваше изменение не сохранено"
    // (FailureCode::Directory). Gives the latest versions after it.
    Result<RoomDirectory> Apply(const std::vector<DirectoryEdit>& edits,
                                const std::map<DirectoryList, int>& bases);
    // What a desk saves: the edits that turn the lists it saw into its own, applied as Apply does
    // (companies first, then subscribers, then groups: a cascade saved by the first is met by the rest).
    Result<RoomDirectory> SaveChanges(const RoomDirectory& seen, const RoomDirectory& mine);
    // `changed` is called on the context's thread each time any desk saved a version, within moments.
    bool WatchChanges(QObject* context, std::function<void()> changed);
    // Whether the connection was lost (no round trip: see ServerConnectionLost).
    bool Lost() const;
    // The same number at every desk: the lock every write of the directory takes.
    static constexpr std::int64_t LockKey = 0x5A6F6C64;

private:
    SqlDirectory(QString connection, std::string database, std::string desk)
        : connection_(std::move(connection)), database_(std::move(database)), desk_(std::move(desk))
    {
    }
    Status prepare(const QString& connectOptions);
    Failure failure(const QString& error) const;
    Result<RoomDirectory> latest();
    // The versions a transaction added, known once it is committed.
    struct Version
    {
        DirectoryList list;
        DirectoryVersion version;
        std::vector<DirectoryChunk> chunks;
    };
    using Written = std::vector<Version>;
    // Adds the list's next version to `written`.
    // `latestKnown`: the list's latest version is the one known (read under the same lock), so that its
    // chunks are on the server.
    Status insert(DirectoryList list, ListBytes bytes, const std::string& records, Written& written,
                  bool latestKnown = true);
    void remember(const Written& written);
    Failure conflict(DirectoryList list, int baseVersion, const std::string& name);
    // A version's chunks: those the server lacks are sent (those `held` it holds already, those of the
    // list's latest version, are not asked for), and the version's use of each is recorded.
    Status storeChunks(DirectoryList list, int version, const std::vector<DirectoryChunk>& chunks,
                       const std::string& bytes, const std::set<std::string>& held);
    // Drops the chunks no kept version uses.
    Status pruneChunks();
    // A version's bytes from its chunks, fetching only those the list's known bytes lack.
    Result<std::string> rebuild(DirectoryList list, const std::string& hashes, std::size_t size);

    QString connection_;
    std::string database_;
    std::string desk_;
    std::map<DirectoryList, DirectoryVersion> known_; // the latest bytes read or written of each list
    std::map<DirectoryList, std::vector<DirectoryChunk>> knownChunks_; // those bytes cut, once needed
};

} // namespace zolbin
