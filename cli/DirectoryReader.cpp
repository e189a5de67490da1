#include "cli/DirectoryReader.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"

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

void loadSettings(TSettings& settings)
{
    if (fileExists(SettingsFileName)) {
        std::string bytes;
        if (const int err = readWholeFile(SettingsFileName, bytes))
            throw FileError(std::string(SettingsFileName) + ": " + utf8(ioErrorText(ioCodeFromErrno(err))));
    }
    LoadSettings(ProfileFile(SettingsFileName), settings);
}

} // namespace

Directory ReadDirectory()
{
    Directory directory;
    loadSettings(directory.settings);
    load(directory.abonents, AbonentFileName);
    load(directory.groups, GroupFileName);
    load(directory.providers, CompanyFileName);
    // Position 0 always holds the home provider, as in the window, which writes it to a new file.
    if (directory.providers.empty())
        directory.providers.AddHomeProvider();
    return directory;
}

} // namespace zolbin
