// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SmtpPassword.h"

#include "cli/ExitStatus.h"
#include "platform/OwnerOnlyFile.h"

namespace zolbin {

std::string SecretFileFirstLine(const std::string& name, const Text& kind)
{
    const Result<std::string> line = ReadOwnerOnlyFile(name, kind, OwnerOnlyRead::FirstLine);
    if (!line)
        throw UsageError(line.failure().shown());
    return line.value();
}

namespace {

std::string firstLine(const std::string& name)
{
    return SecretFileFirstLine(name, tx("SmtpPassword", "файл пароля SMTP"));
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
