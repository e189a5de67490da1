// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DirectoryReader.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "records/Session.h"

#include <QCoreApplication>
#include <filesystem>
#include <utility>

namespace zolbin {

namespace {

// Loads one list file when it exists. A file that cannot be read, or a damaged one, is the error, together
// with the file's name.
template <typename List> void load(List& list, const DataFolder& folder, const char* fileName)
{
    const std::string path = folder.path(fileName);
    if (!fileExists(path))
        return;
    const Status loaded = list.LoadFromFile(path);
    if (loaded)
        return;
    const std::string what = std::string(fileName) + ": " + loaded.failure().shown().toStdString();
    throw FileError(
        IsDamagedListFile(loaded.failure())
            ? QCoreApplication::translate("DirectoryReader", "%1 (файл повреждён)").arg(argText(what))
            : argText(what));
}

void loadSettings(const ProfileFile& file, TSettings& settings)
{
    if (fileExists(file.path())) {
        std::string bytes;
        if (const int err = readWholeFile(file.path(), bytes))
            throw FileError(std::filesystem::path(file.path()).filename().string() + ": " +
                            ioErrorText(ioCodeFromErrno(err)).shown().toStdString());
    }
    LoadSettings(file, settings);
}

} // namespace

void ReadDirectory(Session& session)
{
    loadSettings(session.settingsFile, session.settings);
    // Read into fresh lists (a list's load adds to what it holds), which replace the session's only when
    // all three were read: a worker or listener reads the folder again each round.
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
    load(abonents, session.folder, AbonentFileName);
    load(groups, session.folder, GroupFileName);
    load(providers, session.folder, CompanyFileName);
    // Position 0 always holds the home provider, as in the window, which writes it to a new file.
    if (providers.empty())
        providers.AddHomeProvider();
    session.abonents = std::move(abonents);
    session.groups = std::move(groups);
    session.providers = std::move(providers);
}

bool DirectoryRefresh::operator()(Session& session)
{
    std::vector<FileStamp> now;
    for (const char* name : {SettingsFileName, AbonentFileName, GroupFileName, CompanyFileName})
        now.push_back(fileStampOf(session.folder.path(name)));
    if (seen_ == now)
        return false;
    seen_ = std::move(now);
    ReadDirectory(session);
    return true;
}

} // namespace zolbin
