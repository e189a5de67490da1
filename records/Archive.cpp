// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Archive.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"

#include <QByteArrayView>
#include <cerrno>
#include <filesystem>
#include <string_view>
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

std::string ArchivePath(const DataFolder& folder, const std::string& name)
{
    return folder.path(std::string(ArchiveFolder) + "/" + utf8(name) + ".log");
}

bool DeleteArchive(const DataFolder& folder, const std::string& name)
{
    if (!IsSafeArchiveName(name))
        return false;
    const std::string path = ArchivePath(folder, name);
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

Status WriteArchive(const DataFolder& folder, const TSendParams& params,
                    const std::vector<std::string>& messageLines)
{
    // The folder is made on every call, also for a page that is not archived. A failure here shows up
    // as the failed opening below.
    std::error_code ignored;
    std::filesystem::create_directories(folder.path(ArchiveFolder), ignored);

    if (params.CurName.empty())
        return {};

    // A name that would reach outside "Log" is an invalid file name, like a name with characters the
    // file system refuses.
    if (!IsSafeArchiveName(params.CurName))
        return Failure::io(IoCode::PathNotFound);
    // A failed write cuts the entry back: the file is as it was.
    return appendToFile(ArchivePath(folder, params.CurName), FormatArchiveEntry(params, messageLines));
}

namespace {

// The older file's bytes first, then the other's, through one atomic rewrite of the UTF-8 name.
Status joinInto(const std::filesystem::path& target, const std::filesystem::path& old)
{
    std::error_code ec;
    const auto targetTime = std::filesystem::last_write_time(target, ec);
    const auto oldTime = std::filesystem::last_write_time(old, ec);
    std::string targetBytes;
    std::string oldBytes;
    if (const int err = readWholeFile(target.string(), targetBytes))
        return Failure::fromErrno(err);
    if (const int err = readWholeFile(old.string(), oldBytes))
        return Failure::fromErrno(err);
    return rewriteWholeFile(target.string(),
                            oldTime <= targetTime ? oldBytes + targetBytes : targetBytes + oldBytes);
}

} // namespace

Status MigrateArchiveNames(const DataFolder& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> oldNames;
    for (fs::directory_iterator it(folder.path(ArchiveFolder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && name.size() > 4 && name.ends_with(".log") &&
            !QByteArrayView(name.data(), static_cast<qsizetype>(name.size())).isValidUtf8())
            oldNames.push_back(it->path());
    }
    for (const fs::path& old : oldNames) {
        const std::string stem = old.filename().string();
        const fs::path target = ArchivePath(folder, stem.substr(0, stem.size() - 4));
        if (fs::exists(target, ec)) {
            if (const Status joined = joinInto(target, old); !joined)
                return joined;
            if (::unlink(old.c_str()) != 0)
                return Failure::fromErrno(errno);
        } else if (::rename(old.c_str(), target.c_str()) != 0) {
            return Failure::fromErrno(errno);
        }
    }
    return {};
}

} // namespace zolbin
