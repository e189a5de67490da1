// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PrivateFile.h"

#include "platform/Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

namespace {

struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

Failure unreadable()
{
    return Failure{0, tx("PrivateFile", "не читается: %1").arg(std::strerror(errno))};
}

} // namespace

Result<std::string> ReadPrivateFile(const std::string& path)
{
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st
    {
    };
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
        return unreadable();
    if (!S_ISREG(st.st_mode))
        return Failure{0, tx("PrivateFile", "- не обычный файл")};
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return Failure{
            0, tx("PrivateFile", "доступен не только владельцу: нужны права 600 или 400 (chmod 600)")};
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return unreadable();
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

} // namespace zolbin
