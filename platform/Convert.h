// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text to number conversions as the program's fields use them.

#include "platform/Result.h"

#include <cstdint>
#include <string>

namespace zolbin {

// Decimal digits with an optional sign, nothing else, within the signed 32-bit range.
bool TryStrToInt(const std::string& text, std::int32_t& value);

// The same; a text that does not convert fails with "'%s' неверное целочисленное значение"
// (FailureCode::BadNumber).
Result<std::int32_t> StrToInt(const std::string& text);

} // namespace zolbin
