// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PageText.h"

#include "directory/TextChecks.h"

#include <algorithm>
#include <string_view>

namespace zolbin {

namespace {

bool hasControls(std::string_view line)
{
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

Text who(const PagerTarget& target)
{
    return (target.kind == PagerTarget::Kind::Group ? tx("PageText", "группа «%1»")
                                                    : tx("PageText", "абонент «%1»"))
        .arg(VisibleControls(target.name));
}

} // namespace

std::optional<Text> TextFault(const std::string& text)
{
    if (text.empty())
        return tx("PageText", "Необходимо набрать текст сообщения");
    if (text.size() > MaxIncomingText)
        return tx("PageText", "текст сообщения слишком длинный");
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        if (hasControls(std::string_view(text).substr(start, end - start)))
            return tx("PageText", "управляющий символ в тексте");
    if (hasControls(std::string_view(text).substr(start)))
        return tx("PageText", "управляющий символ в тексте");
    return std::nullopt;
}

std::optional<Text> TextRefusal(const std::string& text, const PagerTarget& target)
{
    if (target.maxLen > 0 && text.size() > static_cast<std::size_t>(target.maxLen))
        return tx("PageText", "текст сообщения слишком длинный: %1 символов при пределе %2 (перевод строки "
                              "считается за два символа)")
            .arg(static_cast<long long>(text.size()))
            .arg(target.maxLen);
    if (target.digital && !IsDigitalText(text))
        return tx("PageText", "%1 - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U и "
                              "одна строка текста")
            .arg(who(target));
    return std::nullopt;
}

} // namespace zolbin
