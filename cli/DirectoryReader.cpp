#include "cli/DirectoryReader.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "records/Session.h"

namespace zolbin {

namespace {

// Loads one list file when it exists. The loader reports a file it cannot open through a message box;
// here that text becomes the error, together with the file's name.
template <typename List> void load(List& list, const char* fileName)
{
    if (!fileExists(fileName))
        return;
    std::string shown;
    Prompts::Responder previous = Prompts::setResponder([&shown](const PromptRequest& request) {
        shown = request.text;
        return false;
    });
    bool loaded = false;
    try {
        loaded = list.LoadFromFile(fileName);
    } catch (const EInOutError& error) {
        Prompts::setResponder(std::move(previous));
        throw FileError(std::string(fileName) + ": " + utf8(error.text()) + " (файл повреждён)");
    }
    Prompts::setResponder(std::move(previous));
    if (!loaded)
        throw FileError(std::string(fileName) + ": " + utf8(shown));
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
