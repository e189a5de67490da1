// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/TokenFile.h"

#include "platform/OwnerOnlyFile.h"
#include "platform/Text.h"

namespace zolbin {

namespace {

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

Result<std::vector<HttpToken>> LoadTokenFile(const std::string& path)
{
    const Result<std::string> read = ReadOwnerOnlyFile(path, tx("TokenFile", "файл ключей HTTP"));
    if (!read)
        return read.failure();
    const std::string& text = read.value();
    std::vector<HttpToken> tokens;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::size_t at = start;
        const auto word = [&] {
            while (at < end && blank(text[at]))
                ++at;
            const std::size_t from = at;
            while (at < end && !blank(text[at]))
                ++at;
            return text.substr(from, at - from);
        };
        HttpToken token{word(), word()};
        start = end + 1;
        if (!token.secret.empty() && token.secret.front() != '#')
            tokens.push_back(std::move(token));
    }
    if (tokens.empty())
        return Failure{0, tx("TokenFile", "файл ключей HTTP «%1» не содержит ни одного ключа").arg(path)};
    return tokens;
}

} // namespace zolbin
