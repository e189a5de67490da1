// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/RecordFiles.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "records/Archive.h"

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zolbin {

std::string ArchiveFileOf(const DataFolder& folder, const std::string& name)
{
    return IsSafeArchiveName(name) ? ArchivePath(folder, name) : std::string();
}

// unlink, not a general remove: a folder that happens to carry the name is never taken for the file.
int DeleteJournal(const std::string& path)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

QString ArchiveNotFoundText(const std::string& name)
{
    return QCoreApplication::translate("RecordFiles", "Архив для абонента %1 не найден").arg(toQString(name));
}

ChunkReader::~ChunkReader()
{
    close();
}

int ChunkReader::open(const std::string& path)
{
    close();
    pendingCr_ = false;
    const int fd = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return errno;
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    fd_ = fd;
    return 0;
}

int ChunkReader::read(std::string& out, std::size_t maxBytes)
{
    out.clear();
    if (fd_ < 0)
        return 0;
    std::vector<char> buffer(maxBytes > 0 ? maxBytes : 1);
    ssize_t n;
    do
        n = ::read(fd_, buffer.data(), buffer.size());
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int err = errno;
        close();
        return err;
    }
    out.reserve(static_cast<std::size_t>(n) + 1);
    if (n == 0) {
        // The end: a CR still waiting is a line break of its own.
        if (pendingCr_)
            out += '\n';
        pendingCr_ = false;
        close();
        return 0;
    }
    for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[static_cast<std::size_t>(i)];
        if (pendingCr_) {
            pendingCr_ = false;
            out += '\n';
            if (c == '\n')
                continue;
        }
        if (c == '\r')
            pendingCr_ = true;
        else
            out += c;
    }
    return 0;
}

void ChunkReader::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace zolbin
