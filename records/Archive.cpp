#include "records/Archive.h"

#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

// Opens the archive for appending, creating it when missing. Returns the descriptor or -errno.
int openForAppend(const std::string& path)
{
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
}

// Writes every byte; returns 0 or errno.
int writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
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

void WriteArchive(const TSendParams& params, const std::vector<std::string>& messageLines)
{
    // The folder is made on every call, also for a page that is not archived. A failure here shows up
    // as the failed opening below.
    std::error_code ignored;
    std::filesystem::create_directories(ArchiveFolder, ignored);

    if (params.CurName.empty())
        return;

    // A name that would reach outside "Log" is an invalid file name, like a name with characters the
    // file system refuses.
    if (!IsSafeArchiveName(params.CurName)) {
        Prompts::message(ioErrorText(IoCode::PathNotFound));
        return;
    }

    const int fd = openForAppend(ArchivePath(params.CurName));
    if (fd < 0) {
        Prompts::message(ioErrorText(ioCodeFromErrno(-fd)));
        return;
    }
    int err = writeAll(fd, FormatArchiveEntry(params, messageLines));
    if (::close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    if (err != 0)
        raiseErrno(err);
}

} // namespace zolbin
