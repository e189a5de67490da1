// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/SnppUsers.h"

#include "intake/PrivateFile.h"
#include "platform/Text.h"

namespace zolbin {

Result<SnppUsers> SnppUsers::load(const std::string& path)
{
    const Result<std::string> read = ReadPrivateFile(path);
    if (!read)
        return Failure{0,
                       tx("SnppUsers", "файл пользователей SNPP «%1» %2").arg(path).arg(read.failure().text)};
    const std::string& text = read.value();
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
