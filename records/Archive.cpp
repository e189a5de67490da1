#include "records/Archive.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zolbin {

namespace {

const std::string& deferralLabel()
{
    // The first letter is the Latin capital O: the archive has always been written so.
    static const std::string label = "O" + cp("тложено - ");
    return label;
}

const std::string& repeatLabel()
{
    static const std::string label = cp("Повторы - ");
    return label;
}

std::string serviceLine(const TSendParams& params)
{
    std::string line;
    if (!params.DeferDate.empty())
        line += deferralLabel() + params.DeferDate + " " + params.DeferTime + " ";
    if (params.RepeatCount != 0)
        line += repeatLabel() + std::to_string(params.RepeatCount) + " * " + params.RepeatInterval;
    return line;
}

} // namespace

bool IsSafeArchiveName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

std::string ArchivePath(const std::string& name)
{
    return std::string(ArchiveFolder) + "/" + name + ".log";
}

bool DeleteArchive(const std::string& name)
{
    if (!IsSafeArchiveName(name))
        return false;
    const std::string path = ArchivePath(name);
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return ::unlink(path.c_str()) == 0;
}

std::string FormatArchiveEntry(const TSendParams& params, const std::vector<std::string>& messageLines)
{
    std::string entry = params.CurProvider + ", " + params.SendDate + " " + params.SendTime + "\r\n";
    if (const std::string service = serviceLine(params); !service.empty())
        entry += service + "\r\n";
    for (const std::string& line : messageLines)
        entry += line + "\r\n";
    entry += "\r\n";
    return entry;
}

Status WriteArchive(const TSendParams& params, const std::vector<std::string>& messageLines)
{
    // The folder is made on every call, also for a page that is not archived. A failure here shows up
    // as the failed opening below.
    std::error_code ignored;
    std::filesystem::create_directories(ArchiveFolder, ignored);

    if (params.CurName.empty())
        return {};

    // A name that would reach outside "Log" is an invalid file name, like a name with characters the
    // file system refuses.
    if (!IsSafeArchiveName(params.CurName))
        return Failure::io(IoCode::PathNotFound);
    // A failed write cuts the entry back: the file is as it was.
    return appendToFile(ArchivePath(params.CurName), FormatArchiveEntry(params, messageLines));
}

} // namespace zolbin
