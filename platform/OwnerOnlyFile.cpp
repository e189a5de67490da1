// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OwnerOnlyFile.h"

#include "platform/Codepage.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

namespace {

// Closes the descriptor however the reading ends.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

Result<std::string> ReadOwnerOnlyFile(const std::string& path, const Text& kind, OwnerOnlyRead read)
{
    // The name and the system's reason come in the locale's encoding.
    const std::string name = toCp1251(QFile::decodeName(path.c_str()));
    const auto unreadable = [&kind, &name] {
        const int err = errno;
        return Failure{0, tx("OwnerOnlyFile", "%1 «%2» не читается: %3")
                              .arg(kind)
                              .arg(name)
                              .arg(toCp1251(QString::fromLocal8Bit(std::strerror(err))))};
    };
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st
    {
    };
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
        return unreadable();
    if (!S_ISREG(st.st_mode))
        return Failure{0, tx("OwnerOnlyFile", "%1 «%2» - не обычный файл").arg(kind).arg(name)};
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return Failure{0, tx("OwnerOnlyFile",
                             "%1 «%2» доступен не только владельцу: нужны права 600 или 400 (chmod 600)")
                              .arg(kind)
                              .arg(name)};
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
        if (read == OwnerOnlyRead::FirstLine && text.find('\n') != std::string::npos)
            break;
    }
    if (read == OwnerOnlyRead::FirstLine) {
        text.erase(std::min(text.find('\n'), text.size()));
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
    }
    return text;
}

} // namespace zolbin
