// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DeskDirectory.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/FileStamp.h"
#include "records/OutboxServer.h"

#include <QByteArray>
#include <QDateTime>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

namespace zolbin {

namespace {

// How long a desk that is away waits for the server when it tries again: the window waits with it.
constexpr int RetryConnectSeconds = 3;

std::int64_t nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

std::string fileBytes(const DataFolder& folder, const char* name)
{
    std::string bytes;
    if (fileExists(folder.path(name)))
        (void)readWholeFile(folder.path(name), bytes);
    return bytes;
}

// The file kept aside as NAME.local, or NAME.local.1 … when that is taken: none is ever overwritten.
Result<std::string> keepAside(const DataFolder& folder, const char* name)
{
    const std::string bytes = fileBytes(folder, name);
    for (int n = 0; n < 1000; ++n) {
        std::string candidate = std::string(name) + ".local" + (n > 0 ? "." + std::to_string(n) : "");
        if (fileExists(folder.path(candidate)))
            continue;
        if (const Status written = rewriteWholeFile(folder.path(candidate), bytes); !written)
            return written.failure();
        return candidate;
    }
    return Failure::fromErrno(EEXIST);
}

Failure away(std::int64_t takenMs)
{
    const QString when = QDateTime::fromMSecsSinceEpoch(takenMs).toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    return Failure{
        FailureCode::Directory,
        tx("DeskDirectory", "Справочник: общая база недоступна, показана копия от %1").arg(toCp1251(when))};
}

} // namespace

DirectoryCopy ReadDirectoryCopy(const DataFolder& folder)
{
    DirectoryCopy copy;
    for (DirectoryList list : DirectoryLists)
        copy.room.lists[list].bytes = fileBytes(folder, FileNameOf(list));
    std::string stamp;
    if (!fileExists(folder.path(RoomCopyFileName)) ||
        readWholeFile(folder.path(RoomCopyFileName), stamp) != 0)
        return copy;
    copy.stamped = true;
    std::istringstream lines(stamp);
    std::string key, desk;
    std::map<std::string, FileStamp> written;
    while (lines >> key) {
        if (key == "taken") {
            lines >> copy.takenMs;
            continue;
        }
        if (key.rfind("stamp-", 0) == 0) { // the stamp of a list file as the copy wrote it
            FileStamp& f = written[key.substr(6)];
            f.exists = true;
            lines >> f.device >> f.inode >> f.size >> f.modifiedSeconds >> f.modifiedNanoseconds;
            continue;
        }
        for (DirectoryList list : DirectoryLists)
            if (key == KeyOf(list)) {
                DirectoryVersion& v = copy.room.lists[list];
                lines >> v.version >> v.savedMs >> desk;
                v.desk =
                    QByteArray::fromHex(QByteArray::fromStdString(desk == "-" ? "" : desk)).toStdString();
            }
    }
    for (const auto& [list, v] : copy.room.lists) {
        const auto was = written.find(KeyOf(list));
        if (was != written.end())
            copy.stamps[list] = was->second;
        if (v.version > 0 && was != written.end() &&
            was->second == fileStampOf(folder.path(FileNameOf(list))))
            copy.intact.insert(list);
    }
    return copy;
}

Status WriteDirectoryCopy(const DataFolder& folder, const RoomDirectory& room, std::int64_t takenMs,
                          const RoomDirectory* onDisk, bool sealed)
{
    std::string stamp = "taken " + std::to_string(takenMs) + "\n";
    for (const auto& [list, v] : room.lists) {
        const std::string path = folder.path(FileNameOf(list));
        const bool same =
            fileExists(path) && (onDisk != nullptr ? onDisk->lists.at(list).bytes == v.bytes
                                                   : v.bytes == fileBytes(folder, FileNameOf(list)));
        if (!same) {
            if (const Status written = rewriteWholeFile(path, v.bytes.str(), sealed); !written)
                return written;
        } else if (sealed && fileExists(PreviousFileOf(path))) {
            // A file written without syncing (it kept the one it replaced) is made durable before it is
            // claimed.
            if (const Status synced = syncFile(path); !synced)
                return synced;
        }
        const std::string desk = QByteArray::fromStdString(v.desk).toHex().toStdString();
        stamp += std::string(KeyOf(list)) + " " + std::to_string(v.version) + " " +
                 std::to_string(v.savedMs) + " " + (desk.empty() ? "-" : desk) + "\n";
        const FileStamp f = fileStampOf(path);
        stamp += "stamp-" + std::string(KeyOf(list)) + " " + std::to_string(f.device) + " " +
                 std::to_string(f.inode) + " " + std::to_string(f.size) + " " +
                 std::to_string(f.modifiedSeconds) + " " + std::to_string(f.modifiedNanoseconds) + "\n";
    }
    if (!sealed)
        return {};
    if (const Status claimed = rewriteWholeFile(folder.path(RoomCopyFileName), stamp); !claimed)
        return claimed;
    // The files claimed are durable: the ones they replaced are no longer needed.
    for (DirectoryList list : DirectoryLists)
        (void)DropPreviousFile(folder.path(FileNameOf(list)));
    return {};
}

void RestoreClaimedCopy(const DataFolder& folder)
{
    if (std::none_of(std::begin(DirectoryLists), std::end(DirectoryLists), [&folder](DirectoryList list) {
            return fileExists(PreviousFileOf(folder.path(FileNameOf(list))));
        }))
        return;
    const DirectoryCopy copy = ReadDirectoryCopy(folder);
    for (const auto& [list, claimed] : copy.stamps) {
        const std::string path = folder.path(FileNameOf(list));
        const std::string previous = PreviousFileOf(path);
        if (copy.intact.count(list) == 0 && fileExists(previous) && fileStampOf(previous) == claimed)
            (void)std::rename(previous.c_str(), path.c_str());
    }
}

std::unique_ptr<DeskDirectory> DeskDirectory::Start(const std::string& database, const std::string& desk,
                                                    const DataFolder& folder, const AskToBring& askToBring)
{
    std::unique_ptr<DeskDirectory> d = Open(database, desk, folder);
    (void)d->Join(d->roomEmpty() && askToBring && askToBring());
    return d;
}

std::unique_ptr<DeskDirectory> DeskDirectory::Open(const std::string& database, const std::string& desk,
                                                   const DataFolder& folder)
{
    std::unique_ptr<DeskDirectory> d(new DeskDirectory(database, desk, folder));
    DirectoryCopy copy = ReadDirectoryCopy(folder);
    d->seen_ = std::move(copy.room);
    d->trusted_ = copy.intact;
    d->copyStamps_ = copy.stamps;
    d->takenMs_ = copy.takenMs;
    d->stamped_ = copy.stamped;
    if (!d->connect())
        return d;
    Result<RoomDirectory> room = d->store_->Load();
    if (!room) {
        d->store_.reset();
        return d;
    }
    d->opened_ = std::move(room.value());
    return d;
}

bool DeskDirectory::Join(bool bring)
{
    if (!opened_)
        return false;
    RoomDirectory room = std::move(*opened_);
    opened_.reset();
    if (room.empty()) {
        if (!bring) {
            shared_ = false;
            store_.reset();
            return false;
        }
        if (!store_->Replace(seen_.bytes()))
            return false;
        Result<RoomDirectory> brought = store_->Load();
        if (!brought)
            return false;
        room = std::move(brought.value());
    } else if (!stamped_) {
        for (DirectoryList list : DirectoryLists) {
            const char* name = FileNameOf(list);
            if (fileExists(folder_.path(name)) && seen_.lists.at(list).bytes != room.lists.at(list).bytes)
                if (const Result<std::string> kept = keepAside(folder_, name); kept)
                    keptAside_.push_back(kept.value());
        }
    }
    const bool changed = !room.sameBytes(seen_);
    (void)take(std::move(room), &seen_);
    return changed;
}

bool DeskDirectory::connect(int connectSeconds)
{
    Result<std::unique_ptr<SqlDirectory>> opened = SqlDirectory::Open(database_, desk_, connectSeconds);
    if (!opened)
        return false;
    store_ = std::move(opened.value());
    for (DirectoryList list : trusted_)
        store_->Know(list, seen_.lists.at(list));
    // A subscription ends with its connection: listened to again on the new one.
    if (watch_ && watch_->context)
        (void)store_->WatchChanges(watch_->context, watch_->changed);
    return true;
}

Status DeskDirectory::writeCopy(const RoomDirectory& room, const RoomDirectory* onDisk, bool sealed)
{
    const Status written = WriteDirectoryCopy(folder_, room, takenMs_, onDisk, sealed);
    for (DirectoryList list : DirectoryLists)
        copyStamps_[list] = fileStampOf(folder_.path(FileNameOf(list)));
    return written;
}

bool DeskDirectory::windowChangedFiles() const
{
    return std::any_of(copyStamps_.begin(), copyStamps_.end(), [this](const auto& s) {
        return fileStampOf(folder_.path(FileNameOf(s.first))) != s.second;
    });
}

Status DeskDirectory::take(RoomDirectory room, const RoomDirectory* onDisk, bool sealed)
{
    // A list the room holds damaged is refused: its bytes are kept aside, the desk goes on with its copy.
    for (const auto& [list, v] : room.lists) {
        // A version taken before was whole then: its bytes never change.
        const DirectoryVersion& seen = seen_.lists[list];
        if ((trusted_.count(list) != 0 && seen.version == v.version && seen.savedMs == v.savedMs &&
             seen.bytes.size() == v.bytes.size()) ||
            ListIntact(list, v.bytes))
            continue;
        const std::string aside = std::string(FileNameOf(list)) + ".room.bad";
        (void)rewriteWholeFile(folder_.path(aside), v.bytes.str());
        damage_ = tx("DeskDirectory",
                     "Справочник: список %1 общей базы повреждён (сохранён как %2), показана копия")
                      .arg(FileNameOf(list))
                      .arg(aside);
        return Failure{FailureCode::Directory, damage_};
    }
    damage_ = {};
    takenMs_ = nowMs();
    const Status written = writeCopy(room, onDisk, sealed);
    unsealed_.clear();
    if (!sealed)
        for (DirectoryList list : DirectoryLists)
            unsealed_[list] = fileStampOf(folder_.path(FileNameOf(list)));
    seen_ = std::move(room);
    trusted_ = std::set<DirectoryList>(std::begin(DirectoryLists), std::end(DirectoryLists));
    return written;
}

Text DeskDirectory::notice() const
{
    if (!shared_)
        return {};
    if (online())
        return damage_;
    return away(takenMs_).text;
}

Text DeskDirectory::lastChange() const
{
    const DirectoryVersion& last = seen_.last();
    return last.version > 0 ? LastChangeText(last) : Text{};
}

Result<bool> DeskDirectory::SaveFolder()
{
    if (!shared_)
        return false;
    if (!online() && !connect(RetryConnectSeconds)) {
        // The change stays out of the copy: the files are put back as the copy has them.
        (void)writeCopy(seen_);
        return away(takenMs_);
    }
    // The files as the save found them: the copy is written again only where the room's differ.
    const RoomDirectory mine = ReadDirectoryCopy(folder_).room;
    Result<RoomDirectory> saved = store_->SaveChanges(seen_, mine);
    if (saved) {
        // The windows' files, written without waiting for the disk, are made durable as the copy claims
        // them.
        const bool merged = !saved.value().sameBytes(mine);
        // The files hold what was saved when nothing came with it: not compared again.
        const RoomDirectory asWritten = merged ? mine : saved.value();
        if (const Status taken = take(std::move(saved.value()), &asWritten); !taken)
            return taken.failure();
        return merged;
    }
    // Refused: the desk sees what came first. A lost connection leaves the copy as it was.
    Result<RoomDirectory> latest = store_->Load();
    if (latest)
        (void)take(std::move(latest.value()));
    else {
        store_.reset();
        (void)writeCopy(seen_);
    }
    return saved.failure();
}

Result<bool> DeskDirectory::Refresh(bool sealLater)
{
    if (!shared_)
        return false;
    if (!online() && !connect(RetryConnectSeconds))
        return away(takenMs_);
    // A change of the window's waits to be saved: the save, next, brings the room's latest with it (taken
    // now, it would write over that change, or take it for the room's).
    if (windowChangedFiles())
        return false;
    Result<RoomDirectory> latest = store_->Load();
    if (!latest) {
        store_.reset();
        return latest.failure();
    }
    // A room that holds no directory yet never empties the desk's files.
    if (latest.value().empty())
        return false;
    // The versions the copy holds already (the desk's own save, told back to it): nothing to take.
    if (damage_.empty() &&
        std::all_of(latest.value().lists.begin(), latest.value().lists.end(), [this](const auto& l) {
            const DirectoryVersion& seen = seen_.lists[l.first];
            return trusted_.count(l.first) != 0 && seen.sameVersion(l.second);
        }))
        return false;
    const bool changed = !latest.value().sameBytes(seen_);
    // The files hold the copy (or a change of the window's, whose save follows): a list the room has
    // not changed is not read from disk to be compared.
    if (const Status taken = take(std::move(latest.value()), &seen_, !sealLater); !taken)
        return taken.failure();
    return changed;
}

Status DeskDirectory::Seal()
{
    if (unsealed_.empty())
        return {};
    const std::map<DirectoryList, FileStamp> written = std::move(unsealed_);
    unsealed_.clear();
    // A file the window rewrote meanwhile is not claimed: its save goes to the room next. The others are
    // synced as the copy claims them.
    for (const auto& [list, stamp] : written)
        if (fileStampOf(folder_.path(FileNameOf(list))) != stamp)
            return {};
    return writeCopy(seen_, &seen_);
}

bool DeskDirectory::WatchChanges(QObject* context, std::function<void()> changed)
{
    watch_ = Watch{context, std::move(changed)};
    return online() && store_->WatchChanges(context, watch_->changed);
}

bool DeskDirectory::ConnectionLost()
{
    if (!online() || !store_->Lost())
        return false;
    store_.reset();
    return true;
}

} // namespace zolbin
