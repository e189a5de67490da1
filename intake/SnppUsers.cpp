// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/SnppUsers.h"

#include "platform/Codepage.h"
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

Failure fileFailure(const std::string& path, const Text& why)
{
    return Failure{0, tx("SnppUsers", "файл пользователей SNPP «%1» %2").arg(path).arg(why)};
}

} // namespace

Result<SnppUsers> SnppUsers::load(const std::string& path)
{
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st
    {
    };
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
        return fileFailure(path, tx("SnppUsers", "не читается: %1").arg(std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return fileFailure(path, tx("SnppUsers", "- не обычный файл"));
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return fileFailure(
            path, tx("SnppUsers", "доступен не только владельцу: нужны права 600 или 400 (chmod 600)"));
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fileFailure(path, tx("SnppUsers", "не читается: %1").arg(std::strerror(errno)));
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    SnppUsers users;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string::npos)
            continue; // an empty line, or no user on it
        users.passwords_.emplace(line.substr(0, colon), line.substr(colon + 1));
    }
    return users;
}

SnppUsers SnppUsers::of(std::map<std::string, std::string> passwords)
{
    SnppUsers users;
    users.passwords_ = std::move(passwords);
    return users;
}

bool SnppUsers::accepts(const std::string& user, const std::string& password) const
{
    const auto it = passwords_.find(user);
    return it != passwords_.end() && it->second == password;
}

} // namespace zolbin
