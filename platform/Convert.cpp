// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Convert.h"

namespace zolbin {

bool TryStrToInt(const std::string& text, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    std::int64_t result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
        if (result > 2147483648LL)
            return false;
    }
    if (negative)
        result = -result;
    if (result > 2147483647LL || result < -2147483648LL)
        return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

Result<std::int32_t> StrToInt(const std::string& text)
{
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) {
        return Failure{FailureCode::BadNumber,
                       tx("Convert", "'%1' неверное целочисленное значение").arg(text)};
    }
    return value;
}

} // namespace zolbin
