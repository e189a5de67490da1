// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DirectoryReader.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "records/Session.h"

namespace zolbin {

namespace {

// Loads one list file when it exists. A file that cannot be read, or a damaged one, is the error, together
// with the file's name.
template <typename List> void load(List& list, const char* fileName)
{
    if (!fileExists(fileName))
        return;
    const Status loaded = list.LoadFromFile(fileName);
    if (loaded)
        return;
    const std::string what = std::string(fileName) + ": " + utf8(loaded.failure().text);
    throw FileError(IsDamagedListFile(loaded.failure()) ? what + " (файл повреждён)" : what);
}

void loadSettings(const ProfileFile& file, TSettings& settings)
{
    if (fileExists(file.path())) {
        std::string bytes;
        if (const int err = readWholeFile(file.path(), bytes))
            throw FileError(file.path() + ": " + utf8(ioErrorText(ioCodeFromErrno(err))));
    }
    LoadSettings(file, settings);
}

} // namespace

void ReadDirectory(Session& session)
{
    loadSettings(session.settingsFile, session.settings);
    load(session.abonents, AbonentFileName);
    load(session.groups, GroupFileName);
    load(session.providers, CompanyFileName);
    // Position 0 always holds the home provider, as in the window, which writes it to a new file.
    if (session.providers.empty())
        session.providers.AddHomeProvider();
}

} // namespace zolbin
