// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A desk's directory when the room keeps it in its database: the list files of the data folder are the
// desk's copy of the room's latest versions (their bytes as the room holds them), and "Directory.room"
// beside them says which versions they are, who saved them, when, and when the copy was taken. The
// windows keep working on the list files as without a room; after each save of a list file the change is
// sent to the room as edits of single records (SqlDirectory::SaveChanges) and the files are made the
// room's latest again, whether the change was kept or refused. While the server is away the desk goes on
// with its copy and every change is refused (the files put back as the copy has them) until it is back.

#include "platform/DataFolder.h"
#include "platform/FileStamp.h"
#include "records/SqlDirectory.h"

#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zolbin {

inline constexpr const char* RoomCopyFileName = "Directory.room";

// The folder's list files (a missing one is an empty list) with the versions "Directory.room" names
// (none: versions 0), and when the copy was taken.
struct DirectoryCopy
{
    RoomDirectory room;
    std::int64_t takenMs = 0;
    bool stamped = false; // "Directory.room" was there: the files are a copy of the room's
    // The lists whose files are still as the copy was written (their stamps unchanged): their bytes are
    // those of the versions named.
    std::set<DirectoryList> intact;
    std::map<DirectoryList, FileStamp> stamps; // the list files' stamps as the copy wrote them
};
DirectoryCopy ReadDirectoryCopy(const DataFolder& folder);
// Writes the lists that differ from the folder's files (`onDisk`, when given, is what they hold), then
// "Directory.room" with the files' stamps. Unless `sealed`, the lists are written without waiting for
// the disk and "Directory.room" is left as it was: until it is written (DeskDirectory::Seal) the copy
// does not claim them, so that a copy cut short by a crash is fetched again, never trusted. Written
// sealed, the files claimed are synced first when they were written without waiting.
Status WriteDirectoryCopy(const DataFolder& folder, const RoomDirectory& room, std::int64_t takenMs,
                          const RoomDirectory* onDisk = nullptr, bool sealed = true);
// A list file written without waiting for the disk keeps the one it replaced beside it
// (PreviousFileOf) until "Directory.room" claims the new one, durable by then. After a crash before
// that claim, a kept file that is the copy "Directory.room" names is put back in its place: the host
// calls this before it reads the lists (the window's room link, at start).
void RestoreClaimedCopy(const DataFolder& folder);

class DeskDirectory
{
public:
    // Asked once, when the room holds no directory yet: whether this desk's directory goes there.
    using AskToBring = std::function<bool()>;

    // Connects to the room's database and makes the folder's files its latest directory. A room without
    // a directory gets this desk's when `askToBring` says so (otherwise the desk stays on its own files
    // and saves nothing to the room). A desk joining for the first time whose files differ keeps them
    // aside ("Abonent.lst.local" …, never overwritten) and takes the room's. A server away leaves the
    // files as they are: the desk works with its copy (notice()). Open and Join one after the other.
    static std::unique_ptr<DeskDirectory> Start(const std::string& database, const std::string& desk,
                                                const DataFolder& folder, const AskToBring& askToBring);
    // Start's first step: reads the copy, connects and reads the room's latest; no file is written.
    static std::unique_ptr<DeskDirectory> Open(const std::string& database, const std::string& desk,
                                               const DataFolder& folder);
    // Whether the room the desk opened holds no directory yet: Join then brings this desk's, if told to.
    bool roomEmpty() const { return opened_ && opened_->empty(); }
    // Start's second step (once, after Open): true when the list files changed (the room's were taken).
    bool Join(bool bring);

    bool online() const { return store_ != nullptr; }
    bool shared() const { return shared_; }
    // "Справочник: общая база недоступна, показана копия от дд.мм.гггг чч:мм" while away, or why the
    // room's latest was refused as damaged; else empty.
    Text notice() const;
    // "Изменено: МЕСТО, дд.мм.гггг чч:мм" of the latest version the files hold; empty before any.
    Text lastChange() const;
    // The names of the files kept aside when this desk joined (in the data folder).
    const std::vector<std::string>& keptAside() const { return keptAside_; }

    // After the windows rewrote list files: their change goes to the room, and the files become the
    // room's latest: true when those differ from what the windows wrote (another desk's edit came with
    // it). A change refused (another desk's edit came first, or the server is away) is the failure; the
    // files then hold the room's latest (or the copy while away).
    Result<bool> SaveFolder();
    // Makes the files the room's latest (after a notification); true when they changed. While away, it
    // tries to connect again first (waiting for the server a few seconds at most). `sealLater`: the files
    // are written without waiting for the disk, and Seal must follow (once the window was told).
    Result<bool> Refresh(bool sealLater = false);
    // Makes the files a Refresh wrote durable and claims them in "Directory.room".
    Status Seal();
    // `changed` is called on the context's thread after any desk saved a version (the server's
    // notification), also after the desk was away and connected again (it then listens again).
    bool WatchChanges(QObject* context, std::function<void()> changed);
    // True when the connection was found lost (no round trip): the desk is away from then on, with its copy,
    // until Refresh or SaveFolder connects again.
    bool ConnectionLost();

private:
    DeskDirectory(std::string database, std::string desk, DataFolder folder)
        : database_(std::move(database)), desk_(std::move(desk)), folder_(std::move(folder))
    {
    }
    // `connectSeconds` as SqlDirectory::Open takes it; listening again when the desk listened.
    bool connect(int connectSeconds = 0);
    // `onDisk`: what the files hold, when known.
    Status take(RoomDirectory room, const RoomDirectory* onDisk = nullptr, bool sealed = true);
    // WriteDirectoryCopy, remembering the files' stamps as written.
    Status writeCopy(const RoomDirectory& room, const RoomDirectory* onDisk = nullptr, bool sealed = true);
    // Whether the window rewrote a list file since the copy was written (its save has yet to come).
    bool windowChangedFiles() const;

    struct Watch
    {
        QPointer<QObject> context;
        std::function<void()> changed;
    };
    std::optional<Watch> watch_;

    std::string database_;
    std::string desk_;
    DataFolder folder_;
    std::unique_ptr<SqlDirectory> store_;
    bool shared_ = true;
    RoomDirectory seen_;              // what the files held when last made the room's
    std::set<DirectoryList> trusted_; // the lists of seen_ whose bytes are the room's versions named
    std::int64_t takenMs_ = 0;
    std::vector<std::string> keptAside_;
    std::optional<RoomDirectory> opened_; // the room's latest as Open read it, until Join
    bool stamped_ = false;                // Open found "Directory.room"
    // The list files written that "Directory.room" does not claim yet, as they were written.
    std::map<DirectoryList, FileStamp> unsealed_;
    std::map<DirectoryList, FileStamp> copyStamps_; // the list files as the copy last wrote them
    Text damage_;                                   // why the room's latest was refused, while it is
};

} // namespace zolbin
