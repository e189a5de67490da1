// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The service functions: deferral and repeats as the operator sets them in the service dialog, turned
// into the send parameters and the one-line summary the main window shows.

#include "directory/SendParams.h"
#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

// The dialog's fields as they stand (texts as typed, cp1251).
struct ServiceForm
{
    bool later = false;  // "Отло&жить" down
    bool repeat = false; // "По&вторить" down
    std::string day, month, year, hour, minute;
    std::string repCount, repHour, repMinute;
};

// The twelve month names, January first, as the service dialog offers them.
const std::vector<Text>& MonthTexts();

// 1 + the position of the text among the month names, Russian or in the interface's language (letter case
// ignored), 0 when none matches.
int MonthNumber(const std::string& text);

// The check made when a toggle is pressed while deferral is on: true when year, month and day form a
// calendar date. A year or day text that is not a whole number fails as StrToInt does.
Result<bool> DeferralDateValid(const ServiceForm& form);

// OK: clears DeferDate, RepeatCount and the summary, then fills them from the form. A repeat count that
// is not a whole number fails as StrToInt does, after the deferral was set (RepeatCount stays 0).
Status ApplyServiceForm(const ServiceForm& form, TSendParams& params, Text& summary);

// Clears the service settings (DeferDate, RepeatCount, the summary); DeferTime and RepeatInterval keep
// their texts, which count only together with the other two.
void ResetServiceSettings(TSendParams& params, Text& summary);

} // namespace zolbin
