// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DeskDirectory.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/FileStamp.h"
#include "records/OutboxServer.h"

#include <QByteArray>
#include <QDateTime>
#include <QThread>
#include <algorithm>
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
        if (v.version > 0 && was != written.end() &&
            was->second == fileStampOf(folder.path(FileNameOf(list))))
            copy.intact.insert(list);
    }
    return copy;
}

Status WriteDirectoryCopy(const DataFolder& folder, const RoomDirectory& room, std::int64_t takenMs,
                          const RoomDirectory* onDisk)
{
    std::string stamp = "taken " + std::to_string(takenMs) + "\n";
    for (const auto& [list, v] : room.lists) {
        const std::string path = folder.path(FileNameOf(list));
        if (!fileExists(path) || (onDisk != nullptr ? onDisk->lists.at(list).bytes
                                                    : fileBytes(folder, FileNameOf(list))) != v.bytes)
            if (const Status written = rewriteWholeFile(path, v.bytes); !written)
                return written;
        const std::string desk = QByteArray::fromStdString(v.desk).toHex().toStdString();
        stamp += std::string(KeyOf(list)) + " " + std::to_string(v.version) + " " +
                 std::to_string(v.savedMs) + " " + (desk.empty() ? "-" : desk) + "\n";
        const FileStamp f = fileStampOf(path);
        stamp += "stamp-" + std::string(KeyOf(list)) + " " + std::to_string(f.device) + " " +
                 std::to_string(f.inode) + " " + std::to_string(f.size) + " " +
                 std::to_string(f.modifiedSeconds) + " " + std::to_string(f.modifiedNanoseconds) + "\n";
    }
    return rewriteWholeFile(folder.path(RoomCopyFileName), stamp);
}

std::unique_ptr<DeskDirectory> DeskDirectory::Start(const std::string& database, const std::string& desk,
                                                    const DataFolder& folder, const AskToBring& askToBring)
{
    std::unique_ptr<DeskDirectory> d(new DeskDirectory(database, desk, folder));
    DirectoryCopy copy = ReadDirectoryCopy(folder);
    d->seen_ = std::move(copy.room);
    d->trusted_ = copy.intact;
    d->takenMs_ = copy.takenMs;
    if (!d->connect())
        return d;
    Result<RoomDirectory> room = d->store_->Load();
    if (!room) {
        d->store_.reset();
        return d;
    }
    if (room.value().empty()) {
        if (!askToBring || !askToBring()) {
            d->shared_ = false;
            d->store_.reset();
            return d;
        }
        if (!d->store_->Replace(d->seen_.bytes()))
            return d;
        room = d->store_->Load();
        if (!room)
            return d;
    } else if (!copy.stamped) {
        for (DirectoryList list : DirectoryLists) {
            const char* name = FileNameOf(list);
            if (fileExists(folder.path(name)) &&
                d->seen_.lists.at(list).bytes != room.value().lists.at(list).bytes)
                if (const Result<std::string> kept = keepAside(folder, name); kept)
                    d->keptAside_.push_back(kept.value());
        }
    }
    (void)d->take(room.value(), &d->seen_);
    return d;
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

Status DeskDirectory::take(const RoomDirectory& room, const RoomDirectory* onDisk)
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
        (void)rewriteWholeFile(folder_.path(aside), v.bytes);
        damage_ = tx("DeskDirectory",
                     "Справочник: список %1 общей базы повреждён (сохранён как %2), показана копия")
                      .arg(FileNameOf(list))
                      .arg(aside);
        return Failure{FailureCode::Directory, damage_};
    }
    damage_ = {};
    takenMs_ = nowMs();
    const Status written = WriteDirectoryCopy(folder_, room, takenMs_, onDisk);
    seen_ = room;
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

Status DeskDirectory::SaveFolder()
{
    if (!shared_)
        return {};
    if (!online() && !connect(RetryConnectSeconds)) {
        // The change stays out of the copy: the files are put back as the copy has them.
        (void)WriteDirectoryCopy(folder_, seen_, takenMs_);
        return away(takenMs_);
    }
    // The files as the save found them: the copy is written again only where the room's differ.
    const RoomDirectory mine = ReadDirectoryCopy(folder_).room;
    const Result<RoomDirectory> saved = store_->SaveChanges(seen_, mine.bytes());
    if (saved) {
        if (const Status taken = take(saved.value(), &mine); !taken)
            return taken;
        return {};
    }
    // Refused: the desk sees what came first. A lost connection leaves the copy as it was.
    const Result<RoomDirectory> latest = store_->Load();
    if (latest)
        (void)take(latest.value());
    else {
        store_.reset();
        (void)WriteDirectoryCopy(folder_, seen_, takenMs_);
    }
    return saved.failure();
}

Result<bool> DeskDirectory::Refresh()
{
    if (!shared_)
        return false;
    if (!online() && !connect(RetryConnectSeconds))
        return away(takenMs_);
    const Result<RoomDirectory> latest = store_->Load();
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
            return trusted_.count(l.first) != 0 && seen.version == l.second.version &&
                   seen.savedMs == l.second.savedMs && seen.desk == l.second.desk;
        }))
        return false;
    const bool changed = latest.value().bytes().abonents != seen_.bytes().abonents ||
                         latest.value().bytes().groups != seen_.bytes().groups ||
                         latest.value().bytes().companies != seen_.bytes().companies;
    if (const Status taken = take(latest.value()); !taken)
        return taken.failure();
    return changed;
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

void DeskDirectory::ProbeServer(QObject* context, std::function<void(bool)> done) const
{
    auto answers = std::make_shared<bool>(false);
    QThread* probe = QThread::create(
        [database = database_, answers] { *answers = ServerAnswers(database, RetryConnectSeconds); });
    QObject::connect(probe, &QThread::finished, context,
                     [answers, done = std::move(done)] { done(*answers); });
    QObject::connect(probe, &QThread::finished, probe, &QObject::deleteLater);
    probe->start();
}

} // namespace zolbin
