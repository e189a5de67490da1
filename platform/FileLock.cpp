// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.h"

#include "platform/FileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zolbin {

FileLock::~FileLock()
{
    release();
}

void FileLock::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

// flock, not fcntl: its lock belongs to the open file description, so that two holders in one process
// exclude each other as two processes do.
FileLock::Result FileLock::take(const std::string& path, Mode mode)
{
    if (fd_ >= 0)
        return Result::Taken;
    const int fd = OpenRetrying(path.c_str(), O_RDWR | O_CREAT);
    if (fd < 0) {
        error_ = errno;
        return Result::Unavailable;
    }
    int locked;
    do
        locked = ::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Result::Busy;
        error_ = err;
        return Result::Unavailable;
    }
    fd_ = fd;
    error_ = 0;
    return Result::Taken;
}

} // namespace zolbin
