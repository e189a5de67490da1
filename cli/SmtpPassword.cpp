// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SmtpPassword.h"

#include "cli/ExitStatus.h"

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

std::string SecretFileFirstLine(const std::string& name, const std::string& shownAs)
{
    const std::string shown = shownAs + " «" + name + "»";
    const Descriptor file{::open(name.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throw UsageError(shown + " не читается: " + std::strerror(errno));
    struct stat st
    {
    };
    if (::fstat(file.fd, &st) != 0)
        throw UsageError(shown + " не читается: " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        throw UsageError(shown + " - не обычный файл");
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        throw UsageError(shown + " доступен не только владельцу: нужны права 600 или 400 (chmod 600)");
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw UsageError(shown + " не читается: " + std::strerror(errno));
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.find('\n') != std::string::npos)
            break;
    }
    text = text.substr(0, text.find('\n'));
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

namespace {

std::string firstLine(const std::string& name)
{
    return SecretFileFirstLine(name, "файл пароля SMTP");
}

} // namespace

std::optional<std::string> SmtpPasswordFromFile(const std::optional<std::string>& option,
                                                const char* environment)
{
    if (option)
        return firstLine(*option);
    if (environment != nullptr && *environment != '\0')
        return firstLine(environment);
    return std::nullopt;
}

} // namespace zolbin
