// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/SmsNumber.h"

#include <algorithm>

namespace zolbin {

bool SmsPatternValid(const std::string& pattern)
{
    if (pattern.size() < 2 || pattern[0] != '+')
        return false;
    int digits = 0;
    int holes = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i) {
        if (pattern[i] == '#')
            ++holes;
        else if (pattern[i] >= '0' && pattern[i] <= '9')
            ++digits;
        else
            return false;
    }
    return holes > 0 ? digits + holes <= 15 : digits <= 14;
}

Text SmsPatternRefusal(const std::string& pattern)
{
    if (SmsPatternValid(pattern))
        return {};
    return tx("SmsNumber",
              "Шаблон номера SMS должен начинаться с «+» и содержать только цифры и «#» (всего от 1 до 15 "
              "цифр вместе с номером пейджера), например +7912#######");
}

std::optional<std::string> SmsPhoneFromPattern(const std::string& pattern, std::int32_t number)
{
    if (!SmsPatternValid(pattern) || number < 0)
        return std::nullopt;
    std::string digits = std::to_string(number);
    const auto holes = static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '#'));
    std::string phone;
    if (holes == 0) {
        phone = pattern + digits;
    } else {
        if (digits.size() > holes)
            return std::nullopt;
        digits.insert(0, holes - digits.size(), '0');
        std::size_t next = 0;
        for (const char c : pattern)
            phone += c == '#' ? digits[next++] : c;
    }
    if (phone.size() > 16)
        return std::nullopt;
    return phone;
}

} // namespace zolbin
