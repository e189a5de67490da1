// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DirectoryTransfer.h"

#include "cli/ExitStatus.h"
#include "cli/Options.h"
#include "platform/FileIo.h"
#include "records/Session.h"
#include "records/SqlDirectory.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>

namespace zolbin {

namespace {

std::unique_ptr<SqlDirectory> openRoom(const Session& session)
{
    Result<std::unique_ptr<SqlDirectory>> opened =
        SqlDirectory::Open(session.settings.OutboxDatabase, session.settings.OutboxDesk);
    if (!opened)
        throw FileError(opened.failure().shown().toStdString());
    return std::move(opened.value());
}

} // namespace

int TransferDirectory(const SendOptions& options, Session& session, std::ostream& out)
{
    const bool importing = options.action == SendOptions::Action::DirectoryImport;
    const std::string& dir = importing ? *options.directoryImport : *options.directoryExport;
    const char* option = importing ? "--directory-import" : "--directory-export";
    LoadSettings(session.settingsFile, session.settings);
    if (options.outbox)
        session.settings.OutboxDatabase = *options.outbox;
    if (session.settings.OutboxDatabase.empty())
        throw UsageError(
            QCoreApplication::translate(
                "DirectoryTransfer",
                "%1: не задана общая база: ключ «Database» раздела «Outbox» настроек или --outbox")
                .arg(QLatin1String(option)));
    const DataFolder folder{dir};
    std::unique_ptr<SqlDirectory> room = openRoom(session);
    if (importing) {
        DirectoryBytes lists;
        bool any = false;
        for (DirectoryList list : DirectoryLists) {
            const std::string path = folder.path(FileNameOf(list));
            if (!fileExists(path))
                continue;
            if (readWholeFile(path, lists.of(list)) != 0)
                throw FileError(QCoreApplication::translate("DirectoryTransfer", "%1: файл не читается")
                                    .arg(QLatin1String(FileNameOf(list))));
            any = true;
        }
        if (!any)
            throw FileError(
                QCoreApplication::translate("DirectoryTransfer", "%1: в папке «%2» нет файлов справочника")
                    .arg(QLatin1String(option), argText(dir)));
        if (const Status stored = room->Replace(lists); !stored)
            throw FileError(stored.failure().shown().toStdString());
        out << QCoreApplication::translate("DirectoryTransfer", "Справочник перенесён в общую базу")
                   .toStdString()
            << '\n';
        return ExitStatus::Accepted;
    }
    const Result<RoomDirectory> latest = room->Load();
    if (!latest)
        throw FileError(latest.failure().shown().toStdString());
    if (latest.value().empty())
        throw FileError(QCoreApplication::translate("DirectoryTransfer", "%1: в общей базе нет справочника")
                            .arg(QLatin1String(option)));
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (DirectoryList list : DirectoryLists)
        if (const Status written =
                rewriteWholeFile(folder.path(FileNameOf(list)), latest.value().lists.at(list).bytes.str());
            !written)
            throw FileError(std::string(FileNameOf(list)) + ": " + written.failure().shown().toStdString());
    return ExitStatus::Accepted;
}

void ReadRoomDirectory(Session& session, std::ostream& err)
{
    if (session.settings.OutboxDatabase.empty())
        return;
    Result<std::unique_ptr<SqlDirectory>> opened =
        SqlDirectory::Open(session.settings.OutboxDatabase, session.settings.OutboxDesk);
    const Result<RoomDirectory> latest =
        opened ? opened.value()->Load() : Result<RoomDirectory>{opened.failure()};
    if (!latest) {
        err << "zolbin-send: "
            << QCoreApplication::translate("DirectoryTransfer", "%1; справочник - из папки данных")
                   .arg(latest.failure().shown())
                   .toStdString()
            << '\n';
        return;
    }
    if (latest.value().empty())
        return;
    // The lists read the room's bytes as they read their files.
    QTemporaryDir scratch;
    const DataFolder room{scratch.path().toStdString()};
    for (DirectoryList list : DirectoryLists)
        if (!rewriteWholeFile(room.path(FileNameOf(list)), latest.value().lists.at(list).bytes.str()))
            throw FileError(QCoreApplication::translate("DirectoryTransfer",
                                                        "%1: не удалось прочитать справочник общей базы")
                                .arg(QLatin1String(FileNameOf(list))));
    session.abonents.Clear();
    session.groups.Clear();
    session.providers.Clear();
    if (!session.abonents.LoadFromFile(room.path(AbonentFileName)) ||
        !session.groups.LoadFromFile(room.path(GroupFileName)) ||
        !session.providers.LoadFromFile(room.path(CompanyFileName)))
        throw FileError(QCoreApplication::translate("DirectoryTransfer", "справочник общей базы повреждён"));
    if (session.providers.empty())
        session.providers.AddHomeProvider();
}

} // namespace zolbin
