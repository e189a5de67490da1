// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/MessageText.h"

namespace zolbin {

void AppendSignature(std::vector<std::string>& lines, const std::string& signature)
{
    if (lines.empty() || signature.empty())
        return;
    std::string& last = lines.back();
    if (last.empty())
        last = signature;
    else if (last.back() == '.')
        last += " " + signature;
    else
        last += ". " + signature;
}

std::string HoldArgument(const std::string& holdTime)
{
    const std::string date = holdTime.substr(0, 8);
    const std::string time = holdTime.size() > 9 ? holdTime.substr(9, 5) : std::string();
    auto part = [](const std::string& text, std::size_t from) {
        return from < text.size() ? text.substr(from, 2) : std::string();
    };
    return part(date, 6) + part(date, 3) + part(date, 0) + part(time, 0) + part(time, 3) + "00";
}

} // namespace zolbin
