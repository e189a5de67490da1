// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The phone number an SMS company makes of a pager number. The company keeps a pattern in its "TapPhone"
// field, such as "+7912#######": the "#" take the subscriber's number, zero-padded on the left to their
// count; a pattern without "#" has the number appended as it is.

#include "platform/Text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zolbin {

// A pattern the company dialog may store: "+", then digits and "#", 1 to 15 digits once filled (without
// "#", at most 14, so that one digit of the number still fits).
bool SmsPatternValid(const std::string& pattern);

// The refusal shown for a pattern that is not valid; empty for a valid one.
Text SmsPatternRefusal(const std::string& pattern);

// "+" and digits; nothing when the pattern is not valid, the number does not fit its "#", or the filled
// number has more than 15 digits.
std::optional<std::string> SmsPhoneFromPattern(const std::string& pattern, std::int32_t number);

} // namespace zolbin
